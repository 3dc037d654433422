#pragma once
// The engine functions the translator calls on SQLite, registered on each connection's handle:
// Jet's arithmetic (jet_op, jet_neg), "&" (jet_cat), Like (jet_like), the conversions between
// types (jet_come) and the dialect's functions (jet_fn). Each receives, beside the values, the
// letters of their types (tipijet.h) and answers in the form of its result's type, so that
// currency stays exact in ten-thousandths. A Jet error ends the statement with a message
// "Jet:<number>" that the library raises as that error.
struct sqlite3;

void registraFunzioniJet(sqlite3 *db);

// The files' case-insensitive text columns (collation NOCASE) compared as the system compares
// texts (textcompare.h): every letter, not only A to Z, as PostgreSQL does. Registered on every
// connection before its first statement, so that the indexes of those columns keep one order.
void registraConfrontoTesti(sqlite3 *db);
