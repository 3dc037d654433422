#include "menuresponder.h"

#include "apperror.h"
#include "menuclient.h"
#include "textcompare.h"

#include <algorithm>

QString MenuConfig::chiavePersonale(const QString &sezione, const QString &nome)
{
    return QStringLiteral("Personal.") + sezione + QString::fromUtf8(".§") + nome;
}

void MenuConfig::impostaPersonale(const QString &sezione, const QString &nome, const Variant &valore)
{
    parametri[chiavePersonale(sezione, nome)] = valore;
}

MenuResponder::MenuResponder(MenuConfig config)
{
    setConfig(std::move(config));
}

void MenuResponder::setConfig(MenuConfig config)
{
    m_config = std::move(config);
    m_lancioCorrente = m_config.lancio;
}

void MenuResponder::failCall(const QString &op, int32_t number, const QString &description, int times)
{
    m_failures[op] = Failure{number, description, times};
}

size_t MenuResponder::record(JournalEntry e)
{
    m_journal.push_back(std::move(e));
    if (onRecord)
        onRecord(m_journal.back());
    return m_journal.size() - 1;
}

Variant MenuResponder::answer(const QString &op, const std::vector<Variant> &args)
{
    JournalEntry e;
    e.kind = JournalEntry::Kind::Chiamata;
    e.op = op;
    e.args = args;
    try {
        auto f = m_failures.find(op);
        if (f != m_failures.end() && f->second.times != 0) {
            const Failure failure = f->second;
            if (failure.times > 0 && --f->second.times == 0)
                m_failures.erase(f);
            throw AppError(failure.number,
                           failure.description.isEmpty() ? standardErrorText(failure.number) : failure.description,
                           QStringLiteral("ServerMenu"));
        }
        e.result = compute(op, args);
    } catch (const AppError &err) {
        e.errore = err.number();
        record(std::move(e));
        throw;
    }
    Variant result = e.result;
    record(std::move(e));
    return result;
}

Variant MenuResponder::compute(const QString &op, const std::vector<Variant> &args)
{
    static const struct { const char *name; size_t arity; } calls[] = {
        {"Collega", 3}, {"InviaComando", 3}, {"LancioCorrente", 0}, {"PrepLancio", 1}, {"FileIni", 0},
        {"DataLavoro", 0}, {"NomeUtente", 0}, {"NomeTerminale", 0}, {"LeggiParametro", 2},
        {"AggiungiPassaA", 3}, {"AttivaProgramma", 3}, {"FormChiusa", 1}, {"MostraMenu", 1}, {"Scollega", 0},
    };
    const auto known = std::find_if(std::begin(calls), std::end(calls),
                                    [&](const auto &c) { return textEquals(op, QString::fromLatin1(c.name)); });
    if (known == std::end(calls))
        throw AppError(438, QStringLiteral("Proprietà o metodo non supportati dall'oggetto: ") + op, QStringLiteral("ServerMenu"));
    if (args.size() != known->arity)
        throw AppError(450, QStringLiteral("Numero di argomenti errato: ") + op, QStringLiteral("ServerMenu"));

    const auto is = [&](const char *name) { return textEquals(op, QString::fromLatin1(name)); };
    if (is("InviaComando"))
        return inviaComando(args[0].text(), args[2]);
    if (is("LancioCorrente"))
        return m_lancioCorrente.toVariant();
    if (is("PrepLancio")) {
        const auto l = m_config.lanci.find(args[0].text());
        m_lancioCorrente = l != m_config.lanci.end() ? l->second : RichiestaLancio{};
        return {};
    }
    if (is("FileIni"))
        return m_config.fileIni;
    if (is("DataLavoro"))
        return m_config.dataLavoro;
    if (is("NomeUtente"))
        return m_config.utente;
    if (is("NomeTerminale"))
        return m_config.terminale;
    if (is("LeggiParametro")) {
        const QString key = args[0].text();
        const auto p = m_config.parametri.find(key);
        if (p != m_config.parametri.end())
            return p->second;
        if (key.startsWith(QStringLiteral("Personal."), Qt::CaseInsensitive))
            return MenuClient::marcatoreAssente();
        return {};
    }
    // Collega, AggiungiPassaA, AttivaProgramma, FormChiusa, MostraMenu, Scollega: the journal
    // is their whole effect here.
    return {};
}

Variant MenuResponder::inviaComando(const QString &word, const Variant &param)
{
    if (textEquals(word, u"PrepProcCorr"))
        return m_config.procCorrente;
    if (textEquals(word, u"MsgBox")) {
        m_messaggi << param.text();
        if (onMsgBox)
            onMsgBox(param.text());
        return {};
    }
    if (textEquals(word, u"TastiCtrl")) {
        if (!param.isNumber())
            return {};
        const auto t = m_config.tastiCtrl.find(param.toInteger());
        return t != m_config.tastiCtrl.end() ? t->second : Variant();
    }
    // "AddSeg" and any other word: nothing to answer.
    return {};
}
