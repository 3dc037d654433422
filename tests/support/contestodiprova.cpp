#include "contestodiprova.h"

#include "contesto.h"

ContestoDiProva::ContestoDiProva(MenuConfig config)
{
    azzeraContesto();
    m_menu = std::make_shared<InProcessMenuClient>(std::move(config));
    ggMenuClient = m_menu;
}

ContestoDiProva::~ContestoDiProva()
{
    azzeraContesto();
}

void ContestoDiProva::parametro(const QString &chiave, const Variant &valore)
{
    m_menu->responder().setParametro(chiave, valore);
}

void ContestoDiProva::personale(const QString &sezione, const QString &nome, const Variant &valore)
{
    m_menu->responder().setParametro(MenuConfig::chiavePersonale(sezione, nome), valore);
}

QStringList ContestoDiProva::chiaviLette() const
{
    QStringList out;
    for (const auto &e : m_menu->journal()) {
        if (e.kind == JournalEntry::Kind::Chiamata && e.op == QLatin1String("LeggiParametro") && !e.args.empty())
            out << e.args.front().text();
    }
    return out;
}
