#include "contestodiprova.h"
#include "datiditta.h"
#include "forms.h"
#include "frmconn.h"
#include "gestioneforms.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

TEST(FrmConn, VersionLinesAndConnectionCaption)
{
    ContestoDiProva c;
    c.parametro("Versione", "3.2");
    c.parametro("DataVersione", "01/02/2024");
    auto *finestra = new FinestraConnessioneQt;
    auto precedente = impostaFinestraConnessione(std::unique_ptr<FinestraConnessione>(finestra));

    MostraVersione(true, false);
    frmConn *f = finestra->form();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(FormCaricata("frmConn"));
    EXPECT_EQ(f->windowTitle(), "Connessione al database");
    EXPECT_EQ(f->labVersione->text(), "Versione 3.2");
    EXPECT_EQ(f->LabDataVer->text(), "del 01/02/2024");
    EXPECT_FALSE(f->labVersione->isHidden());
    EXPECT_FALSE(f->imgLogo->isHidden());
    EXPECT_TRUE(f->imgAccess->isHidden());

    finestraConn().Mostra();
    finestraConn().ImpostaCaption("Connessione primaria al database");
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->windowTitle(), "Connessione primaria al database");

    finestraConn().Scarica();
    EXPECT_FALSE(FormCaricata("frmConn"));
    impostaFinestraConnessione(std::move(precedente));
}

} // namespace
