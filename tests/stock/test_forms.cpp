// The posting error form and the displays the program installs for the posting, headless.
#include "frmerraggmov.h"
#include "frminelab.h"
#include "puntatore.h"
#include "vistepostingqt.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

ContenutoErrAggMov contenuto(const QString &articolo)
{
    ContenutoErrAggMov c;
    c.titolo = QStringLiteral("Errore durante l'Aggiornamento");
    c.messaggio = QStringLiteral("Errore (3146) Chiamata al database non riuscita\r\nseconda riga");
    for (int i = 10; i <= 150; i += 10)
        c.valori[i] = QStringLiteral("v%1").arg(i);
    c.valori[90] = articolo;
    return c;
}

TEST(FrmErrAggMov, TheCaptionsAndTheValuesByIndex)
{
    frmErrAggMov f;
    EXPECT_EQ(f.windowTitle(), "Errore");
    EXPECT_EQ(f.labErrore->text(), "Errore durante il disaggiornamento");
    EXPECT_EQ(f.comPresegui->text(), "Prosegui");
    QStringList didascalie;
    for (QLabel *l : f.Label1)
        didascalie << l->text();
    EXPECT_EQ(didascalie, (QStringList{"Movimento Numero:", "Del:", "Causale:", "Unità da: ", "Unità a: ", "Listino:",
                                       "Moneta:", "Cambio:", "Articolo", "Quantità", "Prezzo", "Importo",
                                       "Qta agg magaz.", "Prezzo In Lire", "Prezzo in Euro"}));
    f.riempi(contenuto("P2"));
    EXPECT_EQ(f.windowTitle(), "Errore durante l'Aggiornamento");
    EXPECT_EQ(f.labErrore->text(), "Errore durante l'Aggiornamento");
    EXPECT_EQ(f.LabMsgErr->text(), "Errore (3146) Chiamata al database non riuscita\nseconda riga");
    for (int i = 10; i <= 150; i += 10)
        EXPECT_EQ(f.lab(i)->text(), i == 90 ? QString("P2") : QStringLiteral("v%1").arg(i));
    // Every caption stands on the left of its value, on its row.
    for (size_t i = 0; i < f.Label1.size(); ++i) {
        const QLabel *v = f.lab(static_cast<int>(i + 1) * 10);
        EXPECT_LE(f.Label1[i]->geometry().right(), v->geometry().left()) << i;
        EXPECT_EQ(f.Label1[i]->geometry().top(), v->geometry().top()) << i;
    }
}

TEST(FrmErrAggMov, EachErrorShowsAFreshFormModallyWithTheDefaultPointer)
{
    VistePostingQt viste;
    ImpostaMousePointer(kClessidra);
    std::vector<QString> visti;
    int puntatore = -1;
    const auto chiudiQuandoAperto = [&](bool conPulsante) {
        QTimer::singleShot(0, [&, conPulsante] {
            auto *f = qobject_cast<frmErrAggMov *>(QApplication::activeModalWidget());
            ASSERT_NE(f, nullptr);
            visti.push_back(f->lab(90)->text() + "|" + f->lab(100)->text());
            puntatore = MousePointer();
            if (conPulsante)
                f->comPresegui->click();
            else
                f->close();
        });
    };
    chiudiQuandoAperto(true);
    viste.mostraErrAggMov(contenuto("P2"));
    EXPECT_EQ(puntatore, kPuntatorePredefinito);
    EXPECT_EQ(MousePointer(), kClessidra);

    ContenutoErrAggMov secondo = contenuto("P3");
    secondo.valori.erase(100);
    chiudiQuandoAperto(false);
    viste.mostraErrAggMov(secondo);
    EXPECT_EQ(visti, (std::vector<QString>{"P2|v100", "P3|"}));
    ImpostaMousePointer(kPuntatorePredefinito);
}

TEST(VistePostingQt, TheProgressFormOfTheProgram)
{
    VistePostingQt viste;
    VistaAvanzamento &a = viste.formInElab();
    EXPECT_EQ(&a, &viste.formInElab());
    EXPECT_NE(dynamic_cast<frmInElab *>(&a), nullptr);
    EXPECT_EQ(viste.formAttiva(), nullptr);
    viste.clessidra(true);
    EXPECT_EQ(MousePointer(), kClessidra);
    viste.clessidra(false);
    EXPECT_EQ(MousePointer(), kPuntatorePredefinito);
}

} // namespace
