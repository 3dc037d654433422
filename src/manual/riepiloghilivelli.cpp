#include "riepiloghilivelli.h"

#include "apperror.h"
#include "confrontaarrotondati.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

const QString kRiepilogo = QStringLiteral("*liv");
const QString kControlla = QStringLiteral("\r\n") + QStringLiteral("Passare alla visualizzazione livelli per controllare");

QString T(const Variant &v) { return UtilGenerali::SqlValore(v, 8); }
QString I(const Variant &v) { return UtilGenerali::SqlValore(v, 2); }
QString L(const Variant &v) { return UtilGenerali::SqlValore(v, 3); }

QString dellaRiga(const RigaCorpo &r)
{
    return QStringLiteral(" Where Utente = ") + T(Variant(ggMenuClient->NomeUtente())) + QStringLiteral(" And Anno = ") +
           I(Variant(r.anno)) + QStringLiteral(" And NumRif = ") + L(Variant(r.numRif));
}

// The quantity to fulfil of the line's staged rows, its summary row left out.
double qtaDellaLinea(const RigaCorpo &r)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select Sum(QtaDaEva) As Totale from OrdVenEvaDett") + dellaRiga(r) +
                                  QStringLiteral(" And RigLiv = ") + L(Variant(r.rigLiv)) + QStringLiteral(" And Livello1 <> ") +
                                  T(Variant(kRiepilogo)));
    return rs.NessunRecord(a) ? 0.0 : UtilGenerali::ValoreNumerico(rs.ValoreCampo(a, u"Totale"), true);
}

} // namespace

namespace riepiloghi {

void AggLivDaDetRiep(const RigaCorpo &r)
{
    if (!textEquals(r.livello1, kRiepilogo))
        return;
    try {
        const bool zero = ConfrontaArrotondati(Variant(UtilGenerali::ValoreNumerico(r.qtaDaEva, true)), Variant(0.0), -8) == 0;
        // The line's rows by its key (RigLiv): the display order RigDet need not be unique.
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update OrdVenEvaDett Set ") +
                                            (zero ? QStringLiteral(" QtaDaEva = 0")
                                                  : QStringLiteral(" QtaDaEva = Qta - IIf(Qtaevasa Is Null,0,Qtaevasa)")) +
                                            dellaRiga(r) + QStringLiteral(" And RigLiv = ") + L(Variant(r.rigLiv)) +
                                            QStringLiteral(" And Livello1 <> ") + T(Variant(kRiepilogo)));
    } catch (const AppError &e) {
        frmMsgCom::MsgErrfrm(e, QString(), kControlla);
    }
}

bool AggQtaRAEE(const RigaCorpo &r)
{
    const int32_t linkata = UtilGenerali::Vuoto(r.rigLivRAEE, 8, 1, false) ? 0 : UtilGenerali::ValoreLong(r.rigLivRAEE, true);
    if (linkata <= 0)
        return false;
    try {
        const double qta = qtaDellaLinea(r);
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update OrdVenEvaDett Set ") + QStringLiteral(" QtaDaEva = ") +
                                            UtilGenerali::SqlValore(Variant(qta), 5) + QStringLiteral(", ASaldo = ") +
                                            T(Variant(r.aSaldo)) + dellaRiga(r) + QStringLiteral(" And RigLiv = ") +
                                            L(Variant(linkata)));
    } catch (const AppError &e) {
        frmMsgCom::MsgErrfrm(e, QString(), kControlla);
    }
    return true;
}

} // namespace riepiloghi
