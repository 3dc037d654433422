#pragma once
// Jet's Like on texts: "*" any run of characters, "?" one character, "#" one digit, "[abc]" one
// of the characters, "[a-c]" a range, "[!abc]" none of them, letter case ignored. A "[" with
// no closing "]" after at least one character stands for itself.
#include <QString>
#include <QStringView>

bool likeJet(QStringView testo, QStringView modello);
// The same pattern as an anchored regular expression for PostgreSQL's case-insensitive "~*".
QString regexDaLike(QStringView modello);
