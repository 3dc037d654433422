#pragma once
// The stand-in menu server's answers, apart from any transport: each call of the program is
// answered from the configuration and written to the journal. Keys are looked up ignoring
// letter case; a personal key not held answers the marker "§ç~$!^", a menu key not held
// answers Empty.
#include "menuconfig.h"
#include "menujournal.h"

#include <QString>
#include <functional>
#include <vector>

class MenuResponder {
public:
    explicit MenuResponder(MenuConfig config = {});

    const MenuConfig &config() const { return m_config; }
    // A new configuration; the current launch request becomes the configured one.
    void setConfig(MenuConfig config);
    void setUtente(const QString &utente) { m_config.utente = utente; }
    void setParametro(const QString &chiave, const Variant &valore) { m_config.parametri[chiave] = valore; }

    // Answers one call and journals it; raises the error the call is answered with (an
    // injected failure, an unknown call, a wrong number of arguments).
    Variant answer(const QString &op, const std::vector<Variant> &args);

    // The next `times` calls named `op` (every one when times < 0) fail with this error.
    void failCall(const QString &op, int32_t number, const QString &description = {}, int times = -1);
    void clearFailures() { m_failures.clear(); }

    const MenuJournal &journal() const { return m_journal; }
    // Appends an entry and returns its index.
    size_t record(JournalEntry e);
    JournalEntry &entry(size_t index) { return m_journal.at(index); }

    // Texts the program asked to show with "MsgBox".
    const QStringList &messaggi() const { return m_messaggi; }
    // Called with each "MsgBox" text, and with each journal entry as it is appended.
    std::function<void(const QString &)> onMsgBox;
    std::function<void(const JournalEntry &)> onRecord;

private:
    struct Failure {
        int32_t number;
        QString description;
        int times;
    };

    Variant compute(const QString &op, const std::vector<Variant> &args);
    Variant inviaComando(const QString &word, const Variant &param);

    MenuConfig m_config;
    RichiestaLancio m_lancioCorrente;
    MapNoCase<Failure> m_failures;
    MenuJournal m_journal;
    QStringList m_messaggi;
};
