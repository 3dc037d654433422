// The statements with which a run finds its work: the selection of the orders, the statements
// that mark and read the lines of the order being converted, and the re-reads of one line.
// They only build text; every value goes in as a literal of the database library.
#include "scevaordven.h"

#include "contesto.h"
#include "dividiconto.h"
#include "letteralisql.h"
#include "menuclient.h"

using namespace sqlEva;

namespace {

// The terms of a row (of OrdVenDett or OrdVenLiv) that an interrupted run had taken and not
// finished: its FlagStato set and not "0" (joined by the caller with " AND").
QString presoDallaRun(const QString &tabella)
{
    return QStringLiteral(" ") + tabella + QStringLiteral(".FlagStato <> ") + T(QStringLiteral("0"))
           + QStringLiteral(" AND ") + tabella + QStringLiteral(".FlagStato <> ''")
           + QStringLiteral(" AND not(") + tabella + QStringLiteral(".FlagStato is null)");
}


QString utenteCorrente() { return ggMenuClient->NomeUtente(); }

QString contoUnito(const QString &conto)
{
    QString g, m, c;
    DividiConto(conto, g, m, c);
    return g + m + c;
}

} // namespace

QString scEvaOrdVen::PrepSqlWhere()
{
    QString s = QStringLiteral(" Where");
    s += QStringLiteral(" (OrdVenTest.Stato <> ") + T(QStringLiteral("E")) + QStringLiteral(" OR OrdVenTest.Stato Is Null)");
    s += QStringLiteral(" and OrdVenTest.DataRif <=") + D(Variant(otDataEvasione));
    s += QStringLiteral(" and (OrdVenTest.Interno <>") + T(QStringLiteral("S")) + QStringLiteral(" OR OrdVenTest.Interno Is Null)");
    // A cash sale also takes the orders without a customer.
    if (!obEvACorrisp)
        s += QStringLiteral(" and (not (OrdVenTest.GruppoCli is null))");
    if (!osFattDocOrd.trimmed().isEmpty())
        s += QStringLiteral(" and OrdVenTest.FattDocumento =") + T(osFattDocOrd);
    if (testoDato(osMoneta))
        s += QStringLiteral(" and OrdVenTest.Moneta =") + T(osMoneta);
    // The account range compares the three parts joined, as text.
    if (testoDato(osCliDa))
        s += QStringLiteral(" and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli >=") + T(contoUnito(osCliDa));
    if (testoDato(osCliA))
        s += QStringLiteral(" and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli <=") + T(contoUnito(osCliA));
    // An article range: the order must have an open line in the range.
    if (testoDato(osArticoloDa) || testoDato(osArticoloA)) {
        s += QStringLiteral(" And EXISTS (Select OrdVenDett.* From OrdVenDett");
        s += QStringLiteral(" Where OrdVenDett.Anno = OrdVenTest.Anno");
        s += QStringLiteral(" AND OrdVenDett.NumRif = OrdVenTest.NumRif");
        s += QStringLiteral(" AND (OrdVenDett.StatoRiga <>") + T(QStringLiteral("E")) + QStringLiteral(" OR OrdVenDett.StatoRiga IS NULL)");
        if (testoDato(osArticoloDa))
            s += QStringLiteral(" AND OrdVenDett.Articolo >= ") + T(osArticoloDa);
        if (testoDato(osArticoloA))
            s += QStringLiteral(" AND OrdVenDett.Articolo <= ") + T(osArticoloA);
        s += QStringLiteral(")");
    }
    // A delivery-date range: the header's date, or the date of any line of the order.
    const bool consDa = dataData(ovDataConsDa), consA = dataData(ovDataConsA);
    if (consDa || consA) {
        s += QStringLiteral(" AND ((");
        if (consDa)
            s += QStringLiteral(" OrdVenTest.DataCons >=") + D(ovDataConsDa);
        if (consA) {
            if (consDa)
                s += QStringLiteral(" and");
            s += QStringLiteral(" OrdVenTest.DataCons <=") + D(ovDataConsA);
        }
        s += QStringLiteral(" ) or");
        s += QStringLiteral(" Exists (");
        s += QStringLiteral(" Select OrdVenDett.Anno From  OrdVenDett");
        s += QStringLiteral(" Where OrdVenTest.Anno = OrdVenDett.Anno");
        s += QStringLiteral(" AND OrdVenTest.NumRif = OrdVenDett.NumRif");
        if (consDa)
            s += QStringLiteral(" And OrdVenDett.DataCons >=") + D(ovDataConsDa);
        if (consA)
            s += QStringLiteral(" And OrdVenDett.DataCons <=") + D(ovDataConsA);
        s += QStringLiteral("))");
    }
    if (dataData(ovDataRifDa))
        s += QStringLiteral(" and OrdVenTest.DataRif >=") + D(ovDataRifDa);
    if (dataData(ovDataRifA))
        s += QStringLiteral(" and OrdVenTest.DataRif <=") + D(ovDataRifA);
    if (olNumRifDa > 0)
        s += QStringLiteral(" and OrdVenTest.NumRif >=") + L(Variant(olNumRifDa));
    if (olNumRifA > 0)
        s += QStringLiteral(" and OrdVenTest.NumRif <=") + L(Variant(olNumRifA));
    if (dataData(ovDataDocDa))
        s += QStringLiteral(" and OrdVenTest.DataDoc >=") + D(ovDataDocDa);
    if (dataData(ovDataDocA))
        s += QStringLiteral(" and OrdVenTest.DataDoc <=") + D(ovDataDocA);
    if (olNumDocDa > 0)
        s += QStringLiteral(" and OrdVenTest.NumDoc >=") + L(Variant(olNumDocDa));
    if (olNumDocA > 0)
        s += QStringLiteral(" and OrdVenTest.NumDoc <=") + L(Variant(olNumDocA));
    // The description begins with the user's text, taken literally: wildcards typed by the
    // user match themselves.
    if (!osInDesc.isEmpty())
        s += QStringLiteral(" and OrdVenTest.Descrizione Like ") + T(UtilGenerali::LikeLetterale(osInDesc) + QStringLiteral("*"));
    return s;
}

QString scEvaOrdVen::PrepSqlSelOrd(bool pbJoinSel, int16_t piAnnoOrd, int32_t plNumRifOrd)
{
    return QStringLiteral("Select ") + CampiSelOrd() + DaSelOrd(pbJoinSel, piAnnoOrd, plNumRifOrd);
}

QString scEvaOrdVen::CampiSelOrd()
{
    QString s = QStringLiteral("OrdVenTest.*, Monete.*");
    s += QStringLiteral(",FattDocumenti.*, NoteFisse1.*,NoteFisse2.*,NoteFisse3.*");
    s += QStringLiteral(",PianoConti.Bolli, PianoConti.SpeseBan, PianoConti.StRifOrd");
    s += QStringLiteral(",PianoConti.Descrizione,PianoConti.PrezzoDDT,Pianoconti.RagDDT");
    s += QStringLiteral(",PianoConti.StRifCli,PianoConti.RagRB, PianoConti.FECodIPA, PianoConti.IndAmm, PianoConti.DicIntenti");
    s += QStringLiteral(", Pagamenti.NotaFissa, Pagamenti.FeBanca");
    // Without a target type each order gets the long-description placement of the type its
    // own order type is fulfilled by.
    if (!testoDato(osTipoDocEva))
        s += QStringLiteral(", FattDocumenti2.DoveStampoDesLung as Doc2DoveDesLung");
    return s;
}

QString scEvaOrdVen::DaSelOrd(bool pbJoinSel, int16_t piAnnoOrd, int32_t plNumRifOrd)
{
    const bool senzaTipoEva = !testoDato(osTipoDocEva);
    QString s = QStringLiteral(" FROM ((((((");
    if (senzaTipoEva)
        s += QStringLiteral("(");
    if (pbJoinSel) {
        s += QStringLiteral("(OrdVenEvaTest left join OrdVenTest");
        s += QStringLiteral(" on OrdVenEvaTest.Anno = OrdVenTest.Anno");
        s += QStringLiteral(" and OrdVenEvaTest.NumRif = OrdVenTest.NumRif)");
        s += QStringLiteral(" left join FattDocumenti");
    } else {
        s += QStringLiteral(" OrdVenTest left join FattDocumenti");
    }
    s += QStringLiteral(" on OrdVenTest.FattDocumento = FattDocumenti.FattDocumento)");
    s += QStringLiteral(" left join Monete");
    s += QStringLiteral(" on OrdVenTest.Moneta = Monete.Moneta)");
    s += QStringLiteral(" left join Pagamenti");
    s += QStringLiteral(" on OrdVenTest.Pagamento = Pagamenti.Pagamento)");
    s += QStringLiteral(" left join NoteFisse AS NoteFisse1 ");
    s += QStringLiteral(" on OrdVenTest.NumNota1 = NoteFisse1.NotaFissa)");
    s += QStringLiteral(" left join NoteFisse AS NoteFisse2 ");
    s += QStringLiteral(" on OrdVenTest.NumNota2 = NoteFisse2.NotaFissa)");
    s += QStringLiteral(" left join NoteFisse AS NoteFisse3 ");
    s += QStringLiteral(" on OrdVenTest.NumNota3 = NoteFisse3.NotaFissa)");
    s += QStringLiteral(" left join PianoConti");
    s += QStringLiteral(" on OrdVenTest.GruppoCli = PianoConti.Gruppo");
    s += QStringLiteral(" and OrdVenTest.MastroCli = PianoConti.Mastro");
    s += QStringLiteral(" and OrdVenTest.ContoCli = PianoConti.Conto");
    if (senzaTipoEva) {
        s += QStringLiteral(") left join FattDocumenti as FattDocumenti2");
        s += QStringLiteral(" on FattDocumenti.FattDocEvasione = FattDocumenti2.FattDocumento");
    }
    if (pbJoinSel) {
        // The picked staging rows are the selection: the request's criteria do not apply.
        s += QStringLiteral(" Where OrdVenEvaTest.Utente = ") + T(utenteCorrente());
        s += QStringLiteral(" and OrdVenEvaTest.Selez = ") + T(QStringLiteral("S"));
    } else if (piAnnoOrd != 0) {
        s += QStringLiteral(" Where OrdVenTest.Anno = ") + I(Variant(piAnnoOrd));
        s += QStringLiteral(" and OrdVenTest.NumRif = ") + L(Variant(plNumRifOrd));
    } else {
        s += PrepSqlWhere();
    }
    return s;
}

QString scEvaOrdVen::PrepSqlOrder()
{
    QString s = QStringLiteral(" Order by OrdVenTest.GruppoCli,OrdVenTest.MastroCli,OrdVenTest.ContoCli");
    s += QStringLiteral(",OrdVenTest.MagazzProv");
    if (oiSplitPay != 2)
        s += QStringLiteral(",OrdVenTest.IvaSosp");
    for (const char *campo : {"PrezziIvati", "Iva", "Pagamento", "ScontoPag", "Banca", "RagSoc", "IndSped", "IndirizzoSped",
                              "Vettore", "Resa", "Agente1", "Agente2", "Moneta", "MagazzDest", "Contratto", "CIG", "CUP",
                              "ScoPagSuDett", "NumRif", "PdcDicIntenti"})
        s += QStringLiteral(",OrdVenTest.") + QLatin1String(campo);
    return s;
}

QString scEvaOrdVen::PrepSqlDett(int16_t piSegna, bool pbRipri)
{
    GestRecordset &rs = mgRecs();
    const Variant anno = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.Anno");
    const Variant numRif = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.NumRif");
    // A line without its own delivery date follows its header's date.
    bool consTestaInIntervallo = false;
    const Variant consTesta = rs.ValoreCampo(msAliasOrd, u"OrdVenTest.DataCons");
    if (!consTesta.isNull() && !consTesta.isEmpty()) {
        const Variant data = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.DataCons");
        consTestaInIntervallo = true;
        if (dataData(ovDataConsDa))
            consTestaInIntervallo = Variant::compare(data, ovDataConsDa).value_or(-1) >= 0;
        if (dataData(ovDataConsA))
            consTestaInIntervallo = consTestaInIntervallo && Variant::compare(data, ovDataConsA).value_or(1) <= 0;
    }
    const bool livelli = msGesTaglie.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    const bool manuale = obEvasManule;

    const QString chiaveOrdine = QStringLiteral(" Where OrdVenDett.Anno = ") + I(anno) + QStringLiteral(" AND OrdVenDett.NumRif = ") + L(numRif);
    QString termini;
    if (pbRipri) {
        // The rows an interrupted run had taken and not finished. A line without levels has no
        // level row in the join: it is resumed all the same. A manual run's rows are its user's
        // picking: another user's staging rows of the same line are no part of it.
        if (manuale)
            termini += QStringLiteral(" AND OrdVenEvaDett.Utente = ") + T(utenteCorrente());
        termini += QStringLiteral(" AND") + presoDallaRun(QStringLiteral("OrdVenDett"));
        if (livelli)
            termini += QStringLiteral(" AND (OrdVenLiv.Anno is null OR (") + presoDallaRun(QStringLiteral("OrdVenLiv"))
                       + QStringLiteral("))");
    } else if (manuale) {
        // This user's staging rows to close as balanced or with a quantity to fulfil.
        termini += QStringLiteral(" AND OrdVenEvaDett.Utente = ") + T(utenteCorrente());
        termini += QStringLiteral(" and (OrdVenEvaDett.ASaldo = ") + T(QStringLiteral("S"));
        termini += QStringLiteral(" OR OrdVenEvaDett.QtaDaEva <>0 ) ");
    } else {
        termini += QStringLiteral(" AND (OrdVenDett.StatoRiga<>") + T(QStringLiteral("E")) + QStringLiteral(" OR OrdVenDett.StatoRiga is NULL)");
        const bool consDa = dataData(ovDataConsDa), consA = dataData(ovDataConsA);
        if (consDa || consA) {
            termini += QStringLiteral(" And((");
            if (consDa)
                termini += QStringLiteral("OrdVenDett.DataCons >=") + D(ovDataConsDa);
            if (consA) {
                if (consDa)
                    termini += QStringLiteral(" And");
                termini += QStringLiteral(" OrdVenDett.DataCons <=") + D(ovDataConsA);
            }
            termini += consTestaInIntervallo ? QStringLiteral(" ) or OrdVenDett.DataCons IS NULL)") : QStringLiteral(" ))");
        }
        if (testoDato(osArticoloDa))
            termini += QStringLiteral(" AND OrdVenDett.Articolo >= ") + T(osArticoloDa);
        if (testoDato(osArticoloA))
            termini += QStringLiteral(" AND OrdVenDett.Articolo <= ") + T(osArticoloA);
    }

    if (piSegna != 0)
        return SqlSegnaDett(piSegna, livelli && pbRipri, anno, numRif, chiaveOrdine, termini);

    QString s;
    if (livelli) {
        s = QStringLiteral("Select OrdVenDett.*, OrdVenLiv.*, Articoli.ArtMag, Articoli.PezziPerConf, TabIva.*");
        if (manuale)
            s += QStringLiteral(",OrdVenEvaDett.*");
        s += QStringLiteral(" from (");
    } else {
        s = QStringLiteral("Select OrdVenDett.* , Articoli.ArtMag , Articoli.PezziPerConf, TabIva.*");
        if (manuale)
            s += QStringLiteral(",OrdVenEvaDett.*");
        s += QStringLiteral(" from(");
    }
    if (manuale) {
        s += livelli ? QStringLiteral("((OrdVenEvaDett left join OrdVenDett") : QStringLiteral(" (OrdVenEvaDett left join OrdVenDett");
        s += QStringLiteral(" on OrdVenEvaDett.Anno = OrdVenDett.Anno");
        s += QStringLiteral(" and OrdVenEvaDett.NumRif = OrdVenDett.NumRif");
        s += QStringLiteral(" and OrdVenEvaDett.RigLiv = OrdVenDett.RigLiv)");
        if (livelli)
            s += livelliDelloStaging();
    } else if (livelli) {
        s += QStringLiteral(" (OrdVenDett left join OrdVenLiv");
        s += QStringLiteral(" on OrdVenDett.Anno = OrdVenLiv.Anno ");
        s += QStringLiteral(" and OrdVenDett.NumRif = OrdVenLiv.NumRif ");
        s += QStringLiteral(" and OrdVenDett.RigLiv = OrdVenLiv.RigLiv) ");
    } else {
        s += QStringLiteral(" OrdVenDett");
    }
    s += QStringLiteral(" left join Articoli");
    s += QStringLiteral(" on OrdVenDett.Articolo = Articoli.Articolo)");
    s += QStringLiteral(" left join TabIva");
    s += QStringLiteral(" on OrdVenDett.Iva = TabIva.Iva");
    s += chiaveOrdine + termini;
    s += QStringLiteral(" Order by OrdVenDett.RigDet");
    return s;
}

QString scEvaOrdVen::livelliDelloStaging()
{
    return QStringLiteral(" left join OrdVenLiv") + QStringLiteral(" on OrdVenEvaDett.Anno = OrdVenLiv.Anno ")
           + QStringLiteral(" and OrdVenEvaDett.NumRif = OrdVenLiv.NumRif ") + QStringLiteral(" and OrdVenEvaDett.RigLiv = OrdVenLiv.RigLiv ")
           + QStringLiteral(" and OrdVenEvaDett.Livello1 = OrdVenLiv.Livello1 ")
           + QStringLiteral(" and OrdVenEvaDett.Livello2 = OrdVenLiv.Livello2) ");
}

// The marking statements mark exactly the rows the line statement reads: the rows of the
// order's lines (mode 1) or level rows (mode 2) for which the other rows of the line
// statement's join exist with its terms. They are written on the marked table alone, the rest
// of the join in a correlated EXISTS, so that the engines reach the order's rows by their key;
// articles and VAT codes are joined one to one and never change which rows those are.
QString scEvaOrdVen::SqlSegnaDett(int16_t piSegna, bool pbLivelliNeiTermini, const Variant &pvAnno, const Variant &pvNumRif,
                                  const QString &psChiaveOrdine, const QString &psTermini)
{
    QString s;
    if (piSegna == 1) {
        s = QStringLiteral("Update OrdVenDett Set OrdVenDett.FlagStato = ") + T(QStringLiteral("4")) + psChiaveOrdine;
        if (obEvasManule) {
            s += QStringLiteral(" AND EXISTS (Select OrdVenEvaDett.Anno From ");
            s += pbLivelliNeiTermini ? QStringLiteral("(OrdVenEvaDett") + livelliDelloStaging() : QStringLiteral("OrdVenEvaDett");
            s += QStringLiteral(" Where OrdVenEvaDett.Anno = OrdVenDett.Anno");
            s += QStringLiteral(" AND OrdVenEvaDett.NumRif = OrdVenDett.NumRif");
            s += QStringLiteral(" AND OrdVenEvaDett.RigLiv = OrdVenDett.RigLiv");
            s += psTermini + QStringLiteral(")");
        } else if (pbLivelliNeiTermini) {
            // As the recovery reads them: a taken line without levels, or with a taken level.
            const QString livelliDellaRiga = QStringLiteral(" (Select OrdVenLiv.Anno From OrdVenLiv")
                                             + QStringLiteral(" Where OrdVenLiv.Anno = OrdVenDett.Anno")
                                             + QStringLiteral(" AND OrdVenLiv.NumRif = OrdVenDett.NumRif")
                                             + QStringLiteral(" AND OrdVenLiv.RigLiv = OrdVenDett.RigLiv");
            s += QStringLiteral(" AND") + presoDallaRun(QStringLiteral("OrdVenDett"));
            s += QStringLiteral(" AND (NOT EXISTS") + livelliDellaRiga + QStringLiteral(") OR EXISTS") + livelliDellaRiga
                 + QStringLiteral(" AND") + presoDallaRun(QStringLiteral("OrdVenLiv")) + QStringLiteral("))");
        } else {
            s += psTermini;
        }
        return s;
    }
    // Level rows that exist (a line without levels has none to mark).
    s = QStringLiteral("Update OrdVenLiv Set OrdVenLiv.FlagStato = ") + T(QStringLiteral("4"));
    s += QStringLiteral(" Where OrdVenLiv.Anno = ") + I(pvAnno) + QStringLiteral(" AND OrdVenLiv.NumRif = ") + L(pvNumRif);
    s += QStringLiteral(" AND LEN(OrdVenLiv.Livello1)>0");
    if (obEvasManule) {
        s += QStringLiteral(" AND EXISTS (Select OrdVenDett.Anno From OrdVenEvaDett inner join OrdVenDett");
        s += QStringLiteral(" on OrdVenEvaDett.Anno = OrdVenDett.Anno");
        s += QStringLiteral(" and OrdVenEvaDett.NumRif = OrdVenDett.NumRif");
        s += QStringLiteral(" and OrdVenEvaDett.RigLiv = OrdVenDett.RigLiv");
        s += psChiaveOrdine;
        s += QStringLiteral(" AND OrdVenEvaDett.RigLiv = OrdVenLiv.RigLiv");
        s += QStringLiteral(" AND OrdVenEvaDett.Livello1 = OrdVenLiv.Livello1");
        s += QStringLiteral(" AND OrdVenEvaDett.Livello2 = OrdVenLiv.Livello2");
    } else {
        s += QStringLiteral(" AND EXISTS (Select OrdVenDett.Anno From OrdVenDett");
        s += psChiaveOrdine;
        s += QStringLiteral(" AND OrdVenDett.RigLiv = OrdVenLiv.RigLiv");
    }
    s += psTermini + QStringLiteral(")");
    return s;
}

QString scEvaOrdVen::PrepSqlRilettOrdDett(const QString &psROrdDet)
{
    GestRecordset &rs = mgRecs();
    QString s = QStringLiteral("SELECT OrdVenDett.*");
    s += QStringLiteral(" From OrdVenDett");
    s += QStringLiteral(" WHERE");
    s += QStringLiteral(" OrdVenDett.Anno=") + I(rs.LeggiCampo(psROrdDet, u"OrdVenDett.Anno"));
    s += QStringLiteral(" AND OrdVenDett.NumRif=") + L(rs.LeggiCampo(psROrdDet, u"OrdVenDett.NumRif"));
    s += QStringLiteral(" AND OrdVenDett.RigLiv=") + L(rs.LeggiCampo(psROrdDet, u"OrdVenDett.RigLiv"));
    return s;
}

QString scEvaOrdVen::PrepSqlRilettOrdDettLiv(const QString &psROrdDet)
{
    GestRecordset &rs = mgRecs();
    QString s = QStringLiteral("SELECT OrdVenLiv.*");
    s += QStringLiteral(" From OrdVenLiv");
    s += QStringLiteral(" WHERE");
    s += QStringLiteral(" OrdVenLiv.Anno=") + I(rs.LeggiCampo(psROrdDet, u"OrdVenDett.Anno"));
    s += QStringLiteral(" AND OrdVenLiv.NumRif=") + L(rs.LeggiCampo(psROrdDet, u"OrdVenDett.NumRif"));
    s += QStringLiteral(" AND OrdVenLiv.RigLiv=") + L(rs.LeggiCampo(psROrdDet, u"OrdVenLiv.RigLiv"));
    s += QStringLiteral(" AND OrdVenLiv.Livello1=") + T(rs.LeggiCampo(psROrdDet, u"OrdVenLiv.Livello1").text());
    s += QStringLiteral(" AND OrdVenLiv.Livello2=") + T(rs.LeggiCampo(psROrdDet, u"OrdVenLiv.Livello2").text());
    return s;
}
