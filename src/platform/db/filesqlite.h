#pragma once
// How a company file on SQLite is opened: several programs of the suite work on it at once on
// one machine (the file on a local disk; a network share gives no shared memory for the log).
//
// - The journal is a write-ahead log, a setting kept in the file: readers never wait for a
//   writer, a writer waits for no reader, and a commit appends its pages to the log instead of
//   rewriting the file through a rollback journal.
// - synchronous FULL: each commit flushes the log to the disk before it returns, so a
//   transaction that committed survives a crash of the program, of the system or a power loss.
// - Texts compared ignoring case over the whole alphabet, as PostgreSQL compares them: a file
//   that arrives in another journal has its text indexes rebuilt in that order when it is
//   switched to the log.
// - A busy timeout: a program that finds the file held by another one's write waits for it
//   (the statement fails with 3260 only when the wait runs out).
#include <QSqlDatabase>

namespace FileSqlite {

// Four programs writing at once on a busy machine kept one waiting beyond 2 s: the run then
// stopped on 3260. A write waits its turn rather than fail.
inline constexpr int kAttesaPredefinitaMs = 15000;

// The settings of one connection: extended result codes, the busy timeout, the comparison of
// texts, synchronous FULL, and the write-ahead log when the file has not got it yet (not on a
// read-only connection), its text indexes then rebuilt. A file that another program holds at
// that moment keeps its journal: the next opening switches it. Raises nothing: a setting
// refused leaves SQLite's own default.
void prepara(const QSqlDatabase &db, bool solaLettura = false, int attesaMs = kAttesaPredefinitaMs);

// The journal mode of the file as the connection sees it ("wal", "delete", ...).
QString modoJournal(const QSqlDatabase &db);

// The comparison of texts of the files' case-insensitive columns (funzionisqlite.h) on a
// connection opened outside the library: whatever writes a company file needs it, since the
// indexes of those columns follow its order.
void registraConfrontoTesti(const QSqlDatabase &db);

} // namespace FileSqlite
