#include "formmanuale.h"

#include "grigliaevamanu.h"
#include "contesto.h"
#include "menuclient.h"
#include "modellogriglia.h"
#include "rowwriter.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

void FormManuale::SetUp()
{
    EvasioneDiProva::SetUp();
    if (IsSkipped())
        return;
    eva.obEvasManule = true;
}

void FormManuale::TearDown()
{
    if (form) {
        form->close();
        delete form.data();
    }
    EvasioneDiProva::TearDown();
}

void FormManuale::apri()
{
    form = new FrmEvaManu;
    form->Form_Load();
    // the engine stays the test's: the form only borrows it
    form->controllo().ogEvaOrd = std::shared_ptr<scEvaOrdVen>(&eva, [](scEvaOrdVen *) {});
    form->controllo().osKeySec = QStringLiteral("EVA2");
    form->controllo().EvasioneManuale();
    if (form && form->isVisible()) {
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
}

void FormManuale::carica()
{
    form = new FrmEvaManu;
    form->Form_Load();
    form->controllo().ogEvaOrd = std::shared_ptr<scEvaOrdVen>(&eva, [](scEvaOrdVen *) {});
    // what the start of the manual fulfilment reads
    form->controllo().msGesTaglie =
        ggMenuClient->LeggiParametro(QStringLiteral("Mag.GesTaglie"), QString()).text().toUpper() == QLatin1String("S")
            ? QStringLiteral("S")
            : QStringLiteral("N");
    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
}

void FormManuale::staging(int32_t numRif)
{
    suite::insertRow(fixture, QStringLiteral("OrdVenEvaTest"),
                     {{"Utente", kUtente}, {"Anno", static_cast<int16_t>(2024)}, {"NumRif", numRif}, {"Selez", "N"},
                      {"EvadeTutto", "N"}});
}

void FormManuale::rigaStaging(int32_t numRif, int32_t rigLiv, double qta, double qtaEvasa, const QString &livello1,
                              const QString &livello2)
{
    suite::insertRow(fixture, QStringLiteral("OrdVenEvaDett"),
                     {{"Utente", kUtente}, {"Anno", static_cast<int16_t>(2024)}, {"NumRif", numRif},
                      {"RigDet", static_cast<int16_t>(rigLiv)}, {"RigLiv", rigLiv}, {"Livello1", livello1},
                      {"Livello2", livello2}, {"Articolo", suite::articleCode(1)}, {"UM", "NR"}, {"Qta", qta},
                      {"QtaEvasa", qtaEvasa}, {"QtaDaEva", 0.0}, {"ASaldo", "N"}, {"ValUnitario", 2.5},
                      {"Descrizione", "riga"}, {"RigLivRAEE", 0}});
}

QStringList FormManuale::intestazioni(int i)
{
    QStringList out;
    for (int c = 0; c < griglia(i).columnCount(); ++c)
        if (!vista(i).isColumnHidden(c))
            out << griglia(i).headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return out;
}

void FormManuale::digita(int i, int riga, const QString &campo, const QString &testo)
{
    GrigliaEvaManu &v = vista(i);
    const QModelIndex cella = griglia(i).index(riga, griglia(i).Colonna(campo));
    ASSERT_TRUE(cella.isValid()) << campo.toStdString();
    v.setFocus();
    v.setCurrentIndex(cella);
    v.edit(cella);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "nessun editor su " << campo.toStdString();
    editor->selectAll();
    QTest::keyClicks(editor, testo);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the view takes the value after the key
}

void FormManuale::vaiARiga(int i, int riga)
{
    GrigliaEvaManu &v = vista(i);
    const int colonna = v.currentIndex().isValid() ? v.currentIndex().column() : 0;
    v.setCurrentIndex(griglia(i).index(riga, colonna));
}

void FormManuale::rilascia(int i, Qt::Key tasto)
{
    QKeyEvent su(QEvent::KeyRelease, tasto, Qt::NoModifier);
    QApplication::sendEvent(&vista(i), &su);
}

int FormManuale::rigaOrdine(int32_t numRif)
{
    for (int r = 0; r < griglia(0).rowCount(); ++r)
        if (griglia(0).Valore(r, QStringLiteral("NumRif")).toLong() == numRif)
            return r;
    return -1;
}
