#include "campirigadiprova.h"

#include "apperror.h"
#include "campiriga.h"
#include "connessionedb.h"
#include "contesto.h"
#include "scevaordven.h"
#include "utilgenerali.h"

#include <cmath>

namespace campiprova {

namespace {

QString g_guastoFunzione;
int g_guastoN = 0;

void registra(const QString &funzione, const Chiamata &c)
{
    chiamate().push_back(c);
    int n = 0;
    for (const Chiamata &k : chiamate())
        n += k.funzione == funzione;
    if (funzione == g_guastoFunzione && n == g_guastoN)
        throw AppError(3146, QStringLiteral("guasto di prova"), funzione);
}

double num(const GestRecordset &r, const QString &a, QStringView campo)
{
    return UtilGenerali::ValoreNumerico(r.LeggiCampo(a, campo));
}

double arrotonda(double v, int decimali)
{
    return UtilGenerali::ArrotondaValore(Variant(v), QStringLiteral("A"), 1, -decimali);
}

// The level of the cursor row: its quantity, the part taken from the order level and its
// amounts, a share of the order level's by the quantity.
struct Livello {
    double qta = 0, qtaProv = 0, totale = 0, lire = 0, euro = 0;
};

Livello livello(scEvaOrdVen &eva, const QString &cur)
{
    const GestRecordset &r = eva.mgRecs();
    Livello l;
    const double ordinata = num(r, cur, u"OrdVenLiv.Qta");
    const double aperta = ordinata - num(r, cur, u"OrdVenLiv.QtaEvasa");
    const Variant daEva = r.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva");
    l.qta = eva.obEvasManule ? UtilGenerali::ValoreNumerico(daEva) : aperta;
    l.qtaProv = UtilGenerali::ValoreNumerico(UtilGenerali::Minimo({Variant(aperta), daEva}));
    const double quota = ordinata == 0 ? 1 : l.qta / ordinata;
    l.totale = arrotonda(num(r, cur, u"OrdVenLiv.ValTotale") * quota, 2);
    l.euro = arrotonda(num(r, cur, u"OrdVenLiv.ValEuro") * quota, 2);
    l.lire = arrotonda(num(r, cur, u"OrdVenLiv.ValLire") * quota, 0);
    return l;
}

void somma(RigaInConversione &riga, const Livello &l)
{
    riga.totQta += l.qta;
    riga.totQtaProv += l.qtaProv;
    riga.totValTotale += l.totale;
    riga.totValLire += l.lire;
    riga.totValEuro += l.euro;
}

} // namespace

std::vector<Chiamata> &chiamate()
{
    static std::vector<Chiamata> c;
    return c;
}

void guastoAllaChiamata(const QString &funzione, int n)
{
    g_guastoFunzione = funzione;
    g_guastoN = n;
}

void azzera()
{
    chiamate().clear();
    g_guastoFunzione.clear();
    g_guastoN = 0;
}

} // namespace campiprova

using namespace campiprova;

void ScriviRigaDocumento(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga)
{
    GestRecordset &r = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString &a = c.aliasDettDoc;
    const bool descrittiva = r.LeggiCampo(cur, u"OrdVenDett.TipoRiga").text().compare(u"D", Qt::CaseInsensitive) == 0;
    r.AddNew(a);
    r.ScriviCampo(a, u"Anno", Variant(eva.oiAnno));
    r.ScriviCampo(a, u"NumRif", Variant(c.numRifDoc));
    r.ScriviCampo(a, u"RigDet", Variant(riga.rigDet));
    r.ScriviCampo(a, u"RigLiv", Variant(riga.rigLiv));
    r.ScriviCampo(a, u"TipoRiga", r.LeggiCampo(cur, u"OrdVenDett.TipoRiga"));
    r.ScriviCampo(a, u"Articolo", r.ValoreCampo(cur, u"OrdVenDett.Articolo"));
    r.ScriviCampo(a, u"Qta", descrittiva ? Variant::null() : Variant(riga.qtaDaEvadere));
    r.ScriviCampo(a, u"QtaProv", Variant(riga.qtaProv));
    r.ScriviCampo(a, u"ValTotale", r.ValoreCampo(cur, u"OrdVenDett.ValTotale"));
    r.ScriviCampo(a, u"ValLire", r.ValoreCampo(cur, u"OrdVenDett.ValLire"));
    r.ScriviCampo(a, u"ValEuro", r.ValoreCampo(cur, u"OrdVenDett.ValEuro"));
    r.ScriviCampo(a, u"TipoProv", Variant(QStringLiteral("O")));
    r.ScriviCampo(a, u"AnnoRifProv", r.LeggiCampo(cur, u"OrdVenDett.Anno"));
    r.ScriviCampo(a, u"NumRifProv", r.LeggiCampo(cur, u"OrdVenDett.NumRif"));
    r.ScriviCampo(a, u"RigaRifProv", r.LeggiCampo(cur, u"OrdVenDett.RigLiv"));
    r.Update(a);
    r.VaiUltimoModificato(a);
    registra(QStringLiteral("ScriviRigaDocumento"),
             {QStringLiteral("ScriviRigaDocumento"), r.LeggiCampo(cur, u"OrdVenDett.RigLiv").toLong(), QString(),
              riga.qtaProv, riga.rigLiv});
}

void ScriviLivelloDocumento(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga)
{
    GestRecordset &r = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString &a = c.aliasLivDoc;
    const Livello l = livello(eva, cur);
    somma(riga, l);
    r.AddNew(a);
    r.ScriviCampo(a, u"Anno", Variant(eva.oiAnno));
    r.ScriviCampo(a, u"NumRif", Variant(c.numRifDoc));
    r.ScriviCampo(a, u"RigLiv", Variant(riga.rigLiv));
    r.ScriviCampo(a, u"Livello1", r.LeggiCampo(cur, u"OrdVenLiv.Livello1"));
    r.ScriviCampo(a, u"Livello2", r.LeggiCampo(cur, u"OrdVenLiv.Livello2"));
    r.ScriviCampo(a, u"RigLivOrig", r.LeggiCampo(cur, u"OrdVenLiv.RigLiv"));
    r.ScriviCampo(a, u"Qta", Variant(l.qta));
    r.ScriviCampo(a, u"ValTotale", Variant(l.totale));
    r.ScriviCampo(a, u"FlagStato", Variant(QStringLiteral("0")));
    r.ScriviCampo(a, u"ValLire", Variant(l.lire));
    r.ScriviCampo(a, u"ValEuro", Variant(l.euro));
    r.ScriviCampo(a, u"QtaProv", Variant(l.qtaProv));
    r.Update(a);
    riga.livQta = l.qta;
    riga.livQtaProv = l.qtaProv;
    registra(QStringLiteral("ScriviLivelloDocumento"),
             {QStringLiteral("ScriviLivelloDocumento"), r.LeggiCampo(cur, u"OrdVenLiv.RigLiv").toLong(),
              r.LeggiCampo(cur, u"OrdVenLiv.Livello1").text(), l.qtaProv, riga.rigLiv});
}

void SommaLivelloGiaScritto(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga)
{
    // The level row the interrupted run wrote for this level of the line.
    GestRecordset &r = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString sql = QStringLiteral("Select * from ") + eva.msTabLiv + QStringLiteral(" where Anno = ") +
                        UtilGenerali::SqlValore(r.LeggiCampo(c.aliasDettDoc, u"Anno"), 2) +
                        QStringLiteral(" and NumRif = ") + UtilGenerali::SqlValore(r.LeggiCampo(c.aliasDettDoc, u"NumRif"), 3) +
                        QStringLiteral(" and RigLiv = ") + UtilGenerali::SqlValore(Variant(riga.rigLiv), 3) +
                        QStringLiteral(" and Livello1 = ") + UtilGenerali::SqlValore(r.LeggiCampo(cur, u"OrdVenLiv.Livello1"), 8) +
                        QStringLiteral(" and Livello2 = ") + UtilGenerali::SqlValore(r.LeggiCampo(cur, u"OrdVenLiv.Livello2"), 8);
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    Livello l;
    l.qta = num(rs, a, u"Qta");
    l.qtaProv = num(rs, a, u"QtaProv");
    l.totale = num(rs, a, u"ValTotale");
    l.lire = num(rs, a, u"ValLire");
    l.euro = num(rs, a, u"ValEuro");
    rs.Chiudi(a);
    somma(riga, l);
    registra(QStringLiteral("SommaLivelloGiaScritto"),
             {QStringLiteral("SommaLivelloGiaScritto"), r.LeggiCampo(cur, u"OrdVenLiv.RigLiv").toLong(),
              r.LeggiCampo(cur, u"OrdVenLiv.Livello1").text(), l.qtaProv, riga.rigLiv});
}
