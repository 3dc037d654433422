// The picking form as the user works it: the grids of a group, typed cells, keys, clicks, the
// dimensions dialog and the hand-over.
#include "formmanuale.h"

#include "contesto.h"
#include "grigliaevamanu.h"
#include "modellogriglia.h"
#include "servizievasioneprogramma.h"
#include "utilgenerali.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kDettUtente = QStringLiteral("Select RigLiv, QtaDaEva, ASaldo from OrdVenEvaDett where Utente = 'mario' "
                                           "order by NumRif, RigLiv");

} // namespace

// An order of two lines (10 with 4 delivered, 3) picked in the order grid.
class FormManualeConOrdine : public FormManuale {
protected:
    void SetUp() override
    {
        FormManuale::SetUp();
        if (IsSkipped())
            return;
        suite::OrderInput o;
        o.numRif = 7;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 10, .prezzo = 2, .qtaEvasa = 4},
                   {.articolo = suite::articleCode(2), .qta = 3, .prezzo = 5}};
        o.spese = {{.spesa = "TRA", .importo = 15}};
        numRif = ordine(o);
    }
    // Picks the order by typing "S" in "Sel." and leaving the row with F10.
    void scegli()
    {
        digita(0, rigaOrdine(numRif), QStringLiteral("Selez"), QStringLiteral("S"));
        rilascia(0, Qt::Key_F10);
    }
    int32_t numRif = 0;
};

TEST_P(FormManualeConOrdine, TheGroupIsShownAndTypingSelPicksTheOrder)
{
    apri();
    ASSERT_TRUE(form && form->isVisible());
    EXPECT_FALSE(form->lab[10]->text().isEmpty()) << "the customer of the group";
    ASSERT_EQ(griglia(0).rowCount(), 1);
    EXPECT_EQ(vista(0).currentIndex().column(), griglia(0).Colonna("Selez"));
    EXPECT_EQ(griglia(1).rowCount(), 0);
    scegli();
    EXPECT_EQ(griglia(1).rowCount(), 2);
    EXPECT_EQ(griglia(2).rowCount(), 1);
    EXPECT_EQ(righe(QStringLiteral("Select Utente, Gestione from LockGest where Tipo = 'O'")), QStringList({"mario|3"}));
}

TEST_P(FormManualeConOrdine, ATypedQuantityIsStagedWhenTheRowIsLeft)
{
    apri();
    scegli();
    ASSERT_EQ(righe(kDettUtente), QStringList({"1|0|N", "2|0|N"}));
    digita(1, 0, QStringLiteral("QtaDaEva"), QStringLiteral("3"));
    EXPECT_EQ(righe(kDettUtente).first(), "1|0|N") << "saved before the row is left";
    vaiARiga(1, 1);
    EXPECT_EQ(righe(kDettUtente), QStringList({"1|3|N", "2|0|N"}));
}

TEST_P(FormManualeConOrdine, ARefusedCellKeepsItsValueAndTellsWhy)
{
    apri();
    scegli();
    dialoghi->testi.clear();
    digita(1, 1, QStringLiteral("ASaldo"), QStringLiteral("x"));
    EXPECT_EQ(dialoghi->testi, QStringList({"Si prega di inserire: S=Si  , N=No "}));
    EXPECT_EQ(griglia(1).Testo(1, "ASaldo"), "N");
    form->SalvaRiga(1);
    EXPECT_EQ(righe(kDettUtente), QStringList({"1|0|N", "2|0|N"}));
}

TEST_P(FormManualeConOrdine, TheHandOverButtonRunsTheGroup)
{
    apri();
    scegli();
    digita(1, 1, QStringLiteral("QtaDaEva"), QStringLiteral("3"));
    form->ComProsegui->click(); // saves the pending row first
    EXPECT_TRUE(servizi.chiamate.contains(QStringLiteral("EvadoOrdTest %1").arg(numRif))) << servizi.chiamate.join(", ").toStdString();
    EXPECT_FALSE(eva.obSoloASaldo);
    // no group left: the form is gone, and so are the user's staging rows
    QApplication::processEvents();
    EXPECT_TRUE(!form || !form->isVisible());
    EXPECT_TRUE(righe(kDettUtente).isEmpty());
}

// The same hand-over with the program's own services: the picked quantity becomes a delivery
// note line and the order line's fulfilled quantity, the untouched line stays open.
TEST_P(FormManualeConOrdine, TheHandOverWritesTheDeliveryNoteOfThePickedQuantities)
{
    ServiziEvasioneProgramma reali;
    eva.ImpostaServizi(&reali);
    apri();
    scegli();
    digita(1, 0, QStringLiteral("QtaDaEva"), QStringLiteral("3"));
    form->ComProsegui->click();
    QApplication::processEvents();
    EXPECT_TRUE(dialoghi->testi.contains(QStringLiteral("Elaborazione terminata"))) << dialoghi->testi.join(" | ").toStdString();
    EXPECT_EQ(righe(QStringLiteral("Select Articolo, Qta, NumRifProv from DdtDett where TipoRiga <> 'D' and Articolo is not null "
                                   "order by RigDet")),
              QStringList({QStringLiteral("%1|3|%2").arg(suite::articleCode(1)).arg(numRif)}));
    EXPECT_EQ(righe(QStringLiteral("Select RigDet, QtaEvasa from OrdVenDett where NumRif = %1 order by RigDet").arg(numRif)),
              QStringList({"1|7", "2|0"}));
    EXPECT_EQ(righe(QStringLiteral("Select Stato from OrdVenTest where NumRif = %1").arg(numRif)), QStringList({"P"}));
    EXPECT_EQ(conta("Select * from LockGest"), 0);
    EXPECT_EQ(conta("Select * from DocDaElab"), 0);
    eva.ImpostaServizi(&servizi);
}

// A picked order whose data would give a wrong note (a VAT code the company does not have) is
// refused whole by the run, which names it; nothing of it is written and its lock is released.
TEST_P(FormManualeConOrdine, APickedOrderWithWrongDataIsRefusedAndReleased)
{
    ServiziEvasioneProgramma reali;
    eva.ImpostaServizi(&reali);
    esegui(QStringLiteral("Update OrdVenDett Set Iva = 'ZZ' Where NumRif = %1 And RigDet = 1").arg(numRif));
    apri();
    scegli();
    digita(1, 0, QStringLiteral("QtaDaEva"), QStringLiteral("3"));
    form->ComProsegui->click();
    QApplication::processEvents();
    const QString riga = QStringLiteral("Ordine n.rif %1 anno 2024 non evaso, riga 1: codice IVA inesistente (ZZ)").arg(numRif);
    EXPECT_EQ(dialoghi->testi.filter(riga).size(), 1) << dialoghi->testi.join(" | ").toStdString();
    EXPECT_TRUE(dialoghi->testi.contains(QStringLiteral("Elaborazione terminata"))) << dialoghi->testi.join(" | ").toStdString();
    EXPECT_EQ(conta("Select * from DdtTest"), 0);
    EXPECT_EQ(righe(QStringLiteral("Select RigDet, QtaEvasa from OrdVenDett where NumRif = %1 order by RigDet").arg(numRif)),
              QStringList({"1|4", "2|0"}));
    EXPECT_EQ(righe(QStringLiteral("Select Stato from OrdVenTest where NumRif = %1").arg(numRif)), QStringList({"P"}));
    EXPECT_EQ(conta("Select * from LockGest"), 0);
    EXPECT_EQ(conta("Select * from DocDaElab"), 0);
    eva.ImpostaServizi(&servizi);
}

TEST_P(FormManualeConOrdine, ExtraColumnsComeFromTheUsersParameters)
{
    contesto->personale(QStringLiteral("Ordini"), QStringLiteral("EvaLisCampiTeAgg1"), QStringLiteral("OrdVenTest.LiberoTest1:Libero:1500"));
    contesto->personale(QStringLiteral("Ordini"), QStringLiteral("EvaOrdCampiTesta"), QStringLiteral("101,3"));
    contesto->personale(QStringLiteral("Ordini"), QStringLiteral("EvaLisCampiAgg1"), QStringLiteral("Articoli.Descrizione:Desc. art."));
    contesto->personale(QStringLiteral("Ordini"), QStringLiteral("EvaOrdCampiCorpo"), QStringLiteral("13,101"));
    esegui(QStringLiteral("Update OrdVenTest set LiberoTest1 = 'urgente' where NumRif = %1").arg(numRif));
    apri();
    EXPECT_EQ(intestazioni(0).mid(0, 3), QStringList({"Libero", "Sel.", "Nr.Rif."}));
    const int libero = griglia(0).Colonna("Libero");
    EXPECT_EQ(griglia(0).data(griglia(0).index(0, libero), Qt::DisplayRole).toString(), "urgente");
    EXPECT_FALSE(griglia(0).flags(griglia(0).index(0, libero)) & Qt::ItemIsEditable);
    EXPECT_EQ(vista(0).columnWidth(libero), 125); // 1500 twips
    scegli();
    EXPECT_EQ(intestazioni(1).mid(0, 3), QStringList({"Descrizione", "Desc. art.", "Nr.Rif."}));
    const int art = griglia(1).Colonna("AltriTesto1");
    EXPECT_FALSE(griglia(1).flags(griglia(1).index(0, art)) & Qt::ItemIsEditable);
    EXPECT_EQ(griglia(1).data(griglia(1).index(0, art), Qt::DisplayRole).toString(), "Articolo 1");
}

TEST_P(FormManualeConOrdine, AClickOnSelPicksTheOrderAsTypingDoes)
{
    apri();
    const QModelIndex sel = griglia(0).index(rigaOrdine(numRif), griglia(0).Colonna("Selez"));
    QTest::mouseClick(vista(0).viewport(), Qt::LeftButton, {}, vista(0).visualRect(sel).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return griglia(1).rowCount() == 2; })) << griglia(1).rowCount();
    EXPECT_EQ(righe(QStringLiteral("Select Selez from OrdVenEvaTest where Utente = 'mario'")), QStringList({"S"}));
    EXPECT_EQ(righe(QStringLiteral("Select Utente, Gestione from LockGest where Tipo = 'O'")), QStringList({"mario|3"}));
    // and a second click gives it back
    QTest::mouseClick(vista(0).viewport(), Qt::LeftButton, {}, vista(0).visualRect(sel).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return griglia(1).rowCount() == 0; })) << griglia(1).rowCount();
    EXPECT_TRUE(righe(QStringLiteral("Select Utente from LockGest where Tipo = 'O'")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, FormManualeConOrdine, kBothEngines, engineParamName);
