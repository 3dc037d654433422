// The header notes: fixed-note codes from the document type, the order and the payment terms;
// the order's free note.
#include "testataincorso.h"

#include "decodcodice.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <algorithm>
#include <array>

namespace {

QString numNota(int posizione)
{
    return QStringLiteral("NumNota") + QString::number(posizione);
}

bool vuoto(const Variant &v)
{
    return UtilGenerali::Vuoto(v, 8, 1, false);
}

} // namespace

void ScriviNoteTestata(scEvaOrdVen &eva, TestataInCorso &t)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &tes = eva.msAliasTesDoc;
    const QString &ord = eva.msAliasOrd;
    const bool fattura = textEquals(eva.osDocEvaTipo, u"F");

    // The document type's sign and default notes.
    scEvaOrdVen::NoteTipoDocumento &tipo = eva.mNoteTipoDocumento;
    const QString codiceTipo = rs.LeggiCampo(tes, u"FattDocumento").text();
    if (!tipo.letto || tipo.codice != codiceTipo) {
        QString descrizione;
        Variant campi(VariantArray{0, {Variant(QStringLiteral("Segno")), Variant(QStringLiteral("NumNota1")),
                                       Variant(QStringLiteral("NumNota2")), Variant(QStringLiteral("NumNota3"))}});
        const Variant esito = DecodCodice(QStringLiteral("FattDocumento"), rs.LeggiCampo(tes, u"FattDocumento"),
                                          descrizione, std::nullopt, 0, 8, QString(), 0, &campi, QString());
        // A read that failed is tried again at the next order.
        tipo = {codiceTipo, campi.toArray().items, esito.toInteger() != 1};
    }
    const std::vector<Variant> &valori = tipo.valori;
    const auto valore = [&](size_t i) { return i < valori.size() ? valori[i].text() : QString(); };
    t.segno = valore(0);
    QStringList noteTipo;
    for (size_t i = 1; i <= 3; ++i)
        if (!valore(i).isEmpty())
            noteTipo << valore(i);
    if (t.nuova)
        for (int i = 0; i < noteTipo.size(); ++i)
            rs.ScriviCampo(tes, numNota(i + 1), Variant(noteTipo[i]));

    // The header's codes packed to the front, then the order's codes that go into documents.
    std::array<QString, 3> note;
    int conta = 0;
    for (int i = 1; i <= 3; ++i) {
        const QString codice = rs.LeggiCampo(tes, numNota(i)).text();
        if (!codice.trimmed().isEmpty())
            note[static_cast<size_t>(conta++)] = codice;
    }
    if (conta < 3) {
        for (int i = 1; i <= 3 && conta < 3; ++i) {
            const QString cifra = QString::number(i);
            if (!textEquals(rs.LeggiCampo(ord, QString(QStringLiteral("NoteFisse") + cifra + QStringLiteral(".SuEvasione"))).text(), u"S"))
                continue;
            const QString codice = rs.LeggiCampo(ord, QString(QStringLiteral("OrdVenTest.NumNota") + cifra)).text();
            if (codice.trimmed().isEmpty())
                continue;
            if (std::none_of(note.begin(), note.end(), [&](const QString &n) { return textEquals(n, codice); }))
                note[static_cast<size_t>(conta++)] = codice;
        }
        for (int i = 0; i < 3; ++i)
            rs.ScriviCampo(tes, numNota(i + 1), Variant(note[static_cast<size_t>(i)]));
    }
    if (fattura) {
        const Variant notaPagamento = rs.LeggiCampo(ord, u"Pagamenti.NotaFissa");
        if (!vuoto(notaPagamento))
            rs.ScriviCampo(tes, u"NumNota3", notaPagamento);
    }

    // The order's free note, after those of the orders already in the document.
    const QString evasioneNota = rs.LeggiCampo(ord, u"OrdVenTest.EvasioneNota").text();
    if (textEquals(evasioneNota, u"S") || textEquals(evasioneNota, u"E")) {
        const Variant nota = rs.LeggiCampo(tes, u"Nota");
        if (!vuoto(nota))
            rs.ScriviCampo(tes, u"Nota", Variant(nota.text() + QStringLiteral("\r\n")));
        rs.ScriviCampo(tes, u"Nota",
                       Variant(rs.LeggiCampo(tes, u"Nota").text() + rs.LeggiCampo(ord, u"OrdVenTest.Nota").text()));
        if (!fattura)
            rs.ScriviCampo(tes, u"EvasioneNota", Variant(evasioneNota));
        rs.ScriviCampo(tes, u"StampoNota", Variant(textEquals(evasioneNota, u"S") ? QStringLiteral("S") : QStringLiteral("N")));
    } else if (t.nuova && !fattura) {
        rs.ScriviCampo(tes, u"EvasioneNota", Variant(QStringLiteral("N")));
    }
}
