#pragma once
// The lookups the component knows: for each lookup type, its master table, the fields that
// make up the code (an account has three), the description field and the columns listed when
// the user has chosen none.
#include <QString>
#include <QStringList>

struct TipoAiuto {
    QString tipo;             // "FattDocumento", "Conto", ...
    QString tabella;
    QStringList campiCodice;  // in the order they make up the code
    QString campoDescrizione;
    QStringList colonne;      // listed by default
    // An account: its code is made of three fields (see valoriCodice).
    bool conto() const { return campiCodice.size() == 3; }
};

// The lookup type by name (letter case ignored); "ArticoloCod" is the article lookup by code.
// nullptr when the component has no such lookup.
const TipoAiuto *trovaTipoAiuto(const QString &tipo);

// The values of the code fields for a typed code: the code itself, or, for an account, its
// three parts (separators "-" taken out first: group 2 characters, mastro 2, conto the rest).
QStringList valoriCodice(const TipoAiuto &tipo, const QString &codice);
// The code as the code control shows it, from the values of the code fields: an account with
// its separators ("14-01-0001").
QString codiceDaValori(const TipoAiuto &tipo, const QStringList &valori);
