#include "dialoghi.h"

namespace {

std::unique_ptr<Dialoghi> &installati()
{
    static std::unique_ptr<Dialoghi> d;
    return d;
}

} // namespace

Dialoghi &dialoghi()
{
    if (!installati())
        throw AppError(ErrNum::ObjectRequired, QStringLiteral("Nessuna finestra di dialogo disponibile"),
                       QStringLiteral("Dialoghi"));
    return *installati();
}

std::unique_ptr<Dialoghi> impostaDialoghi(std::unique_ptr<Dialoghi> d)
{
    std::swap(installati(), d);
    return d;
}

QString descrizioneConOrigine(const AppError &errore)
{
    QString s = errore.description();
    if (!errore.source().isEmpty())
        s += QStringLiteral(" - ") + errore.source();
    return s;
}

namespace frmMsgCom {

int msgCom(const QString &psLabel, const QString &psCom1, const Variant &pvCom2, const Variant &pvCom3,
           const Variant &pvTitolo, int16_t piLargForm, bool pbSuona, int16_t piLatiForm, const Variant &pvFontSize,
           int16_t piComDefault, const Variant &pvWidthCom, bool pbSempreTxt)
{
    RichiestaMsgCom r;
    r.psLabel = psLabel;
    r.psCom1 = psCom1;
    r.pvCom2 = pvCom2;
    r.pvCom3 = pvCom3;
    r.pvTitolo = pvTitolo;
    r.piLargForm = piLargForm;
    r.pbSuona = pbSuona;
    r.piLatiForm = piLatiForm;
    r.pvFontSize = pvFontSize;
    r.piComDefault = piComDefault;
    r.pvWidthCom = pvWidthCom;
    r.pbSempreTxt = pbSempreTxt;
    return dialoghi().msgCom(r);
}

int MsgErrfrm(const Variant &pvError, const Variant &pverr, const QString &psMsgAggPri, const QString &psMsgAggDop,
              const Variant &pvTitolo)
{
    const QString testo = psMsgAggPri + QStringLiteral("Errore(") + pverr.text() + QStringLiteral("): ") +
                          pvError.text() + psMsgAggDop;
    return msgCom(testo, QStringLiteral("&Ok"), {}, {}, pvTitolo);
}

} // namespace frmMsgCom

namespace frmMsgCom {

int MsgErrfrm(const AppError &errore, const QString &psMsgAggPri, const QString &psMsgAggDop, const Variant &pvTitolo)
{
    // Errors of the database library carry their number in the Jet numbering already.
    return MsgErrfrm(Variant(descrizioneConOrigine(errore)), Variant(errore.number()), psMsgAggPri, psMsgAggDop,
                     pvTitolo);
}

} // namespace frmMsgCom
