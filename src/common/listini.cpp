#include "datimagazzino.h"

#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "utilgenerali.h"

void AggiornaDateListino(const QString &articolo, QString &livello1, QString &livello2, const QString &listino,
                         const QString &inizio)
{
    const QString l1 = NormLivello(livello1);
    const QString l2 = NormLivello(livello2);
    const auto testo = [](const QString &t) { return UtilGenerali::SqlValore(Variant(t), 8); };
    const QString sql = QStringLiteral("SELECT ArtListini.* FROM ArtListini WHERE") + QStringLiteral(" Articolo = ") +
                        testo(articolo) + QStringLiteral(" and Livello1 = ") + testo(l1) +
                        QStringLiteral(" and Livello2 = ") + testo(l2) + QStringLiteral(" and Listino = ") +
                        testo(listino) + QStringLiteral(" order by DataInizio");
    const Date fineCatena = Date::fromYmd(9999, 12, 31);

    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenDynaset);
    const auto scriviFine = [&](const Date &fine) {
        rs.Edit(a);
        rs.ScriviCampo(a, u"DataFine", Variant(fine));
        rs.Update(a);
    };
    if (rs.NessunRecord(a))
        return;
    if (rs.RecordCount(a) == 1) {
        scriviFine(fineCatena);
        return;
    }
    const Variant dataInizio(inizio);
    const QString criterio = QStringLiteral("datainizio = ") + UtilGenerali::SqlValore(dataInizio, 7);
    rs.FindFirst(a, criterio);
    if (rs.NoMatch(a))
        return;
    Date fine = fineCatena;
    rs.MoveNext(a);
    if (!rs.Eof(a))
        fine = rs.LeggiCampo(a, u"DataInizio").toDate().addDays(-1);
    rs.FindFirst(a, criterio);
    scriviFine(fine);
    rs.MovePrevious(a);
    if (!rs.Bof(a))
        scriviFine(dataInizio.toDate().addDays(-1));
}
