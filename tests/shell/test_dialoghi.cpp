#include "dialoghi.h"
#include "dialoghidiprova.h"

#include <gtest/gtest.h>

namespace {

TEST(Dialoghi, WithoutAnAnswererEveryDialogRaises)
{
    EXPECT_THROW(frmMsgCom::msgCom("x", "&Ok"), AppError);
}

TEST(Dialoghi, MsgErrfrmShowsTheStandardText)
{
    DialoghiInstallati d;
    d->rispondi(1);
    d->rispondi(1);
    EXPECT_EQ(frmMsgCom::MsgErrfrm(AppError(3260, "Record bloccato")), 1);
    frmMsgCom::MsgErrfrm(AppError(13, "Tipo non corrispondente", "scEvaOrdVen"), "Prima ", " dopo");
    ASSERT_EQ(d->mostrati().size(), 2u);
    EXPECT_EQ(d->mostrati()[0].testo, "Errore(3260): Record bloccato");
    EXPECT_EQ(d->mostrati()[0].pulsanti, QStringList{"&Ok"});
    EXPECT_EQ(d->mostrati()[1].testo, "Prima Errore(13): Tipo non corrispondente - scEvaOrdVen dopo");
}

TEST(Dialoghi, MsgComPassesItsButtonsInOrder)
{
    DialoghiInstallati d;
    d->rispondi(2);
    EXPECT_EQ(frmMsgCom::msgCom("Utente o password non validi per SQL", "&Riprovare", "&Annulla", {}, {}, 80, false,
                                600, {}, 1),
              2);
    EXPECT_EQ(d->mostrati()[0].pulsanti, (QStringList{"&Riprovare", "&Annulla"}));
}

} // namespace
