#pragma once
// The engine functions the translator calls on SQLite, registered on each connection's handle:
// Jet's arithmetic (jet_op, jet_neg), "&" (jet_cat), Like (jet_like), the conversions between
// types (jet_come) and the dialect's functions (jet_fn). Each receives, beside the values, the
// letters of their types (tipijet.h) and answers in the form of its result's type, so that
// currency stays exact in ten-thousandths. A Jet error ends the statement with a message
// "Jet:<number>" that the library raises as that error.
struct sqlite3;

void registraFunzioniJet(sqlite3 *db);
