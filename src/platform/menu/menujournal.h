#pragma once
// The stand-in server's journal: every call of the program with its arguments and outcome,
// every command with its answer, and the link's events, in the order they happened.
//
// One line per entry (JournalEntry::text):
//   connessione
//   chiamata Collega("menu1", "EVAORD", "") => Empty
//   chiamata FileIni() => errore 5
//   comando attiva("KEY2", Empty) => ""          (keySec first, then the parameter)
//   comando fine("", Empty) => (nessuna risposta)
//   disconnessione
//   rifiuto Messaggio del menu non valido: ...
//   avvio /path/prog /M "menu1" ...
//   uscita 0
// Values are written as literals (menuLiteral).
#include "variant.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A value as a literal that keeps its type: Empty, Null, True, 27% (Integer), 27& (Long),
// 1.5# (Double), 12.34@ (Currency), #2024-03-15# (Date), "text" ("" doubled),
// Array(lowerBound: item, item).
QString menuLiteral(const Variant &v);

struct JournalEntry {
    enum class Kind { Connessione, Chiamata, Comando, Disconnessione, Rifiuto, Avvio, Uscita };

    Kind kind = Kind::Chiamata;
    QString op;                 // call name, command word, or the event's detail
    std::vector<Variant> args;  // call arguments; for a command: keySec, param
    Variant result;             // call result or command answer
    std::optional<int32_t> errore; // the error a call was answered with
    bool answered = false;      // commands: the answer has arrived

    QString text() const;
};

using MenuJournal = std::vector<JournalEntry>;

QStringList journalLines(const MenuJournal &j);
// The names of the calls, in order.
QStringList journalCalls(const MenuJournal &j);
