// The grids of the picking form on staging rows written by the test: columns, masks, locks,
// the level display, F9, F10 and the dimensions dialog.
#include "formmanuale.h"

#include "contesto.h"
#include "grigliaevamanu.h"
#include "modellogriglia.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
const QString kDaEvadere = QStringLiteral("Select RigLiv, QtaDaEva from OrdVenEvaDett where Utente = 'mario' order by RigLiv");
}

class GriglieManuali : public FormManuale {
protected:
    void SetUp() override
    {
        FormManuale::SetUp();
        if (IsSkipped())
            return;
        numRif = ordineSemplice(0, {10, 3});
        staging(numRif);
        rigaStaging(numRif, 1, 10, 4);
        rigaStaging(numRif, 2, 1234.5, 0);
    }
    void griglie()
    {
        form->Imposta_Griglia_Testa();
        form->Imposta_Griglia_Corpo();
        form->Imposta_Griglia_Spese();
    }
    QString mostrato(int i, int riga, const char *campo)
    {
        return griglia(i).data(griglia(i).index(riga, griglia(i).Colonna(campo)), Qt::DisplayRole).toString();
    }
    bool modificabile(int i, const char *campo)
    {
        return griglia(i).flags(griglia(i).index(0, griglia(i).Colonna(campo))) & Qt::ItemIsEditable;
    }
    int32_t numRif = 0;
};

TEST_P(GriglieManuali, ColumnsCaptionsMasksAndLocks)
{
    contesto->parametro(QStringLiteral("Mag.GesTaglie"), Variant(QStringLiteral("N")));
    giNumDecQta = 3;
    carica();
    griglie();
    EXPECT_EQ(intestazioni(0).mid(0, 6), QStringList({"Nr.Rif.", "Data Rif.", "Sel.", "Tutto", "Descrizione", "Stato"}));
    EXPECT_EQ(intestazioni(0).size(), 27);
    EXPECT_EQ(intestazioni(0).at(23), "Cliente ");
    EXPECT_TRUE(modificabile(0, "Selez"));
    EXPECT_TRUE(modificabile(0, "EvadeTutto"));
    EXPECT_FALSE(modificabile(0, "Descrizione"));
    EXPECT_EQ(form->controllo().miPosColTesta.at(4), griglia(0).Colonna("Selez"));
    EXPECT_EQ(vista(0).columnWidth(griglia(0).Colonna("Descrizione")), 158); // 1900 twips

    EXPECT_EQ(intestazioni(1), QStringList({"Nr.Rif.", "Riga", "Cod. Articolo", "UM", "Qta Ord.", "Qta Evasa", "Da Evad.",
                                            "A Saldo", "Val. Unitario", "Dt. Cons", "Descrizione"}));
    EXPECT_EQ(mostrato(1, 1, "Qta"), "1.234,500");
    EXPECT_EQ(mostrato(1, 0, "QtaEvasa"), "4,000");
    EXPECT_EQ(mostrato(1, 0, "QtaDaEva"), "0,000");
    EXPECT_EQ(mostrato(1, 0, "ValUnitario"), "2,50"); // the decimals of the euro
    EXPECT_TRUE(modificabile(1, "QtaDaEva"));
    EXPECT_TRUE(modificabile(1, "ASaldo"));
    EXPECT_FALSE(modificabile(1, "ValUnitario")) << "orders not open";
    EXPECT_FALSE(modificabile(1, "Qta"));
    EXPECT_EQ(intestazioni(2), QStringList({"Nr.Rif.", "Riga", "Spesa", "Descrizione", "Sel.", "Iva", "%", "Importo",
                                            "Importo Max.", "Importo Min."}));
}

TEST_P(GriglieManuali, PricesLockedOrHiddenByTheTerminal)
{
    carica();
    form->controllo().mbOrdAperto = true;
    griglie();
    EXPECT_TRUE(modificabile(1, "ValUnitario"));
    gbDisabTermPrz = true;
    form->Imposta_Griglia_Corpo();
    EXPECT_FALSE(modificabile(1, "ValUnitario"));
    gbDisabTermVisPrz = true;
    form->Imposta_Griglia_Corpo();
    EXPECT_FALSE(intestazioni(1).contains("Val. Unitario"));
}

TEST_P(GriglieManuali, LevelRowsOrSummaryRowsByTheDisplay)
{
    contesto->parametro(QStringLiteral("Mag.GesTaglie"), Variant(QStringLiteral("S")));
    rigaStaging(numRif, 3, 5, 0, QStringLiteral("*liv"));
    rigaStaging(numRif, 3, 2, 0, QStringLiteral("S"), QStringLiteral("ROSSO"));
    rigaStaging(numRif, 3, 3, 0, QStringLiteral("M"), QStringLiteral("BLU"));
    carica();
    griglie();
    EXPECT_EQ(intestazioni(1).mid(0, 5), QStringList({"Nr.Rif.", "Riga", "Liv1", "Liv2", "Cod. Articolo"}));
    EXPECT_EQ(griglia(1).rowCount(), 4) << "two lines and two level rows";
    form->controllo().mbOrdAperto = true; // prices editable
    form->comLivelli->click();
    EXPECT_EQ(form->comLivelli->text(), "&Mostra Livelli");
    EXPECT_EQ(griglia(1).rowCount(), 3) << "two lines and the summary row";
    EXPECT_EQ(griglia(1).Testo(2, "Livello1"), "*liv");
    const int prezzo = griglia(1).Colonna("ValUnitario");
    EXPECT_TRUE(griglia(1).flags(griglia(1).index(0, prezzo)) & Qt::ItemIsEditable);
    EXPECT_FALSE(griglia(1).flags(griglia(1).index(2, prezzo)) & Qt::ItemIsEditable) << "not on a summary row";
}

TEST_P(GriglieManuali, F9PutsTheOpenQuantityAndF10GoesToTheNextGrid)
{
    carica();
    griglie();
    vista(1).setFocus();
    vista(1).setCurrentIndex(griglia(1).index(0, griglia(1).Colonna("Descrizione")));
    rilascia(1, Qt::Key_F9);
    EXPECT_EQ(righe(kDaEvadere), QStringList({"1|6", "2|0"}));
    rilascia(0, Qt::Key_F9);
    rilascia(2, Qt::Key_F9);
    EXPECT_EQ(righe(kDaEvadere), QStringList({"1|6", "2|0"})) << "F9 belongs to the line grid";

    rilascia(0, Qt::Key_F10);
    EXPECT_EQ(QApplication::focusWidget(), &vista(1));
    EXPECT_EQ(vista(1).currentIndex().column(), griglia(1).Colonna("QtaDaEva"));
    rilascia(1, Qt::Key_F10);
    EXPECT_EQ(QApplication::focusWidget(), &vista(2));
    rilascia(2, Qt::Key_F10);
    EXPECT_EQ(QApplication::focusWidget(), &vista(0));
    EXPECT_EQ(vista(0).currentIndex().column(), griglia(0).Colonna("Selez"));
}

TEST_P(GriglieManuali, ATypedQuantityIsWrittenWhenTheRowIsLeft)
{
    carica();
    giNumDecQta = 2;
    griglie();
    digita(1, 0, QStringLiteral("QtaDaEva"), QStringLiteral("1,234"));
    EXPECT_EQ(griglia(1).Testo(0, "QtaDaEva"), "1,23") << "rounded to the quantity decimals";
    EXPECT_EQ(righe(kDaEvadere), QStringList({"1|0", "2|0"}));
    vaiARiga(1, 1);
    EXPECT_EQ(righe(kDaEvadere), QStringList({"1|1,23", "2|0"}));
}

TEST_P(GriglieManuali, NoOrderLeftEndsThePicking)
{
    esegui(QStringLiteral("Delete from OrdVenEvaTest"));
    carica();
    form->Imposta_Griglia_Testa();
    EXPECT_EQ(dialoghi->testi, QStringList({"Fine elaborazione"}));
    QApplication::processEvents();
    EXPECT_TRUE(!form || !form->isVisible());
}

TEST_P(GriglieManuali, TheDimensionsDialogFillsTheLineItWasOpenedOn)
{
    contesto->personale(QStringLiteral("Vendite"), QStringLiteral("QtaDaDimen"), QStringLiteral("S"));
    contesto->personale(QStringLiteral("Vendite"), QStringLiteral("QtaDaDimUMQ"), QStringLiteral("MQ"));
    esegui(QStringLiteral("Update OrdVenDett set UM = 'MQ', Lunghezza = 2000, Larghezza = 500 where NumRif = %1 and RigDet = 2")
               .arg(numRif));
    carica();
    griglie();
    // a double click on the other grids opens nothing
    QTest::mouseDClick(vista(0).viewport(), Qt::LeftButton, {}, vista(0).visualRect(griglia(0).index(0, 5)).center());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    const QModelIndex cella = griglia(1).index(1, griglia(1).Colonna("Descrizione"));
    vista(1).setCurrentIndex(cella);
    QString pezzi, calcolata;
    bool larghezzaVisibile = false, altezzaVisibile = true;
    QTimer::singleShot(0, [&] {
        QWidget *d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->windowTitle().startsWith(QStringLiteral("Calcola quantità da dimensione")));
        for (QLabel *l : d->findChildren<QLabel *>(QStringLiteral("Label1"))) {
            if (l->property("Index").toInt() == 20)
                larghezzaVisibile = l->isVisible();
            if (l->property("Index").toInt() == 30)
                altezzaVisibile = l->isVisible();
        }
        auto *box = d->findChild<QLineEdit *>(QStringLiteral("txt"));
        QTest::keyClicks(box, QStringLiteral("3,"));
        pezzi = box->text();
        for (QLabel *l : d->findChildren<QLabel *>(QStringLiteral("lab")))
            if (l->property("Index").toInt() == 50)
                calcolata = l->text();
        d->findChild<QPushButton *>(QStringLiteral("ComOk"))->click();
    });
    QTest::mouseClick(vista(1).viewport(), Qt::LeftButton, {}, vista(1).visualRect(cella).center());
    QTest::mouseDClick(vista(1).viewport(), Qt::LeftButton, {}, vista(1).visualRect(cella).center());
    EXPECT_EQ(pezzi, "3") << "whole pieces only" << dialoghi->testi.join("|").toStdString();
    EXPECT_TRUE(larghezzaVisibile);
    EXPECT_FALSE(altezzaVisibile);
    EXPECT_EQ(calcolata, "3");
    EXPECT_EQ(griglia(1).Valore(1, "QtaDaEva").toDouble(), 3);
    vaiARiga(1, 0);
    EXPECT_EQ(righe(kDaEvadere), QStringList({"1|0", "2|3"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, GriglieManuali, kBothEngines, engineParamName);
