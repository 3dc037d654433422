#include "visualizzatoreaiuto.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace {

std::unique_ptr<VisualizzatoreAiuto> &installato()
{
    static std::unique_ptr<VisualizzatoreAiuto> v;
    return v;
}

const QString kSeparatoreArgomento = QStringLiteral("::/");

} // namespace

QString RichiestaAiuto::percorso() const
{
    QString p = file.section(u'>', 0, 0);
    const qsizetype i = p.indexOf(kSeparatoreArgomento);
    return i < 0 ? p : p.left(i);
}

QString RichiestaAiuto::argomento() const
{
    const QString p = file.section(u'>', 0, 0);
    const qsizetype i = p.indexOf(kSeparatoreArgomento);
    return i < 0 ? QString() : p.mid(i + kSeparatoreArgomento.size());
}

QString RichiestaAiuto::nomeFinestra() const
{
    const qsizetype i = file.indexOf(u'>');
    return i < 0 ? QString() : file.mid(i + 1);
}

int32_t RichiestaAiuto::numero() const
{
    const auto *n = std::get_if<int32_t>(&dato);
    return n ? *n : 0;
}

QString RichiestaAiuto::parolaChiave() const
{
    const auto *b = std::get_if<QByteArray>(&dato);
    if (!b)
        return {};
    const qsizetype fine = b->indexOf('\0');
    return QString::fromLatin1(fine < 0 ? *b : b->left(fine));
}

VisualizzatoreAiuto &visualizzatoreAiuto()
{
    if (!installato())
        installato() = std::make_unique<VisualizzatoreAiutoSistema>();
    return *installato();
}

std::unique_ptr<VisualizzatoreAiuto> impostaVisualizzatoreAiuto(std::unique_ptr<VisualizzatoreAiuto> v)
{
    std::swap(installato(), v);
    return v;
}

void HtmlHelpA(quintptr finestra, const QString &file, uint32_t comando, std::variant<int32_t, QByteArray> dato)
{
    visualizzatoreAiuto().HtmlHelp(RichiestaAiuto{finestra, file, comando, std::move(dato)});
}

VisualizzatoreAiutoSistema::VisualizzatoreAiutoSistema(std::function<QString(const QString &)> trova,
                                                       std::function<bool(const QString &, const QStringList &)> avvia)
    : m_trova(std::move(trova)), m_avvia(std::move(avvia))
{
    if (!m_trova)
        m_trova = [](const QString &nome) { return QStandardPaths::findExecutable(nome); };
    if (!m_avvia)
        m_avvia = [](const QString &programma, const QStringList &argomenti) {
            return QProcess::startDetached(programma, argomenti);
        };
}

QStringList VisualizzatoreAiutoSistema::programmiNoti()
{
    return {QStringLiteral("xchm"), QStringLiteral("kchmviewer"), QStringLiteral("xdg-open")};
}

QStringList VisualizzatoreAiutoSistema::argomenti(const QString &programma, const RichiestaAiuto &r)
{
    const QString file = r.percorso();
    if (programma == QLatin1String("xchm")) {
        if (r.comando == ComandoAiuto::Contesto)
            return {QStringLiteral("-c"), QString::number(r.numero()), file};
        if (r.comando == ComandoAiuto::Sommario && !r.argomento().isEmpty())
            return {QStringLiteral("file:") + file + QStringLiteral("#xchm:/") + r.argomento()};
        return {file};
    }
    if (programma == QLatin1String("kchmviewer")) {
        if (r.comando == ComandoAiuto::Indice && !r.parolaChiave().isEmpty())
            return {QStringLiteral("-sindex"), r.parolaChiave(), file};
        if (r.comando == ComandoAiuto::Sommario && !r.argomento().isEmpty())
            return {QStringLiteral("-showPage"), r.argomento(), file};
        return {file};
    }
    return {file};
}

void VisualizzatoreAiutoSistema::HtmlHelp(const RichiestaAiuto &richiesta)
{
    if (richiesta.percorso().isEmpty())
        return;
    if (!QCoreApplication::instance()) {
        avvia(richiesta);
        return;
    }
    const bool sostituisce = m_inAttesa && richiesta.comando == ComandoAiuto::Contesto &&
                             m_inAttesa->comando == ComandoAiuto::Sommario &&
                             m_inAttesa->percorso() == richiesta.percorso();
    if (m_inAttesa && !sostituisce)
        avviaInAttesa();
    const bool programmare = !m_inAttesa;
    m_inAttesa = richiesta;
    if (programmare)
        QTimer::singleShot(0, &m_contesto, [this] { avviaInAttesa(); });
}

void VisualizzatoreAiutoSistema::avviaInAttesa()
{
    if (!m_inAttesa)
        return;
    const RichiestaAiuto r = *m_inAttesa;
    m_inAttesa.reset();
    avvia(r);
}

void VisualizzatoreAiutoSistema::avvia(const RichiestaAiuto &richiesta)
{
    for (const QString &nome : programmiNoti()) {
        const QString programma = m_trova(nome);
        if (programma.isEmpty())
            continue;
        // A viewer that does not start is not reported, as a viewer's own failures are not.
        m_avvia(programma, argomenti(nome, richiesta));
        return;
    }
}
