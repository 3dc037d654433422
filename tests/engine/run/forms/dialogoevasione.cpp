#include "dialogoevasione.h"

#include "../../../common/aiutodiprova.h"
#include "contesto.h"
#include "datiditta.h"
#include "rowwriter.h"
#include "scevaordven.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

void ManualeDiProva::EvasioneManuale()
{
    ++chiamate;
    keySec = osKeySec;
    motore = ogEvaOrd.get();
}

bool DialogoEvasione::prepara(Engine motore)
{
    MenuConfig config;
    config.dataLavoro = Date::fromYmd(2024, 6, 30);
    c = std::make_unique<ContestoDiProva>(config);
    db = ScratchDb::create(motore);
    if (!db)
        return false;
    c->creaDitta(*db, suite::FixtureOptions{.orders = 0, .customers = 10, .articles = 8});
    CaricaDatiDitta();
    fixture = db->open(QStringLiteral("dialogo"));
    // Types of the tests: a delivery-note type whose Interno is Null, an invoice type and an
    // order type in the margin scheme, an order type with a return causal.
    const Variant n = Variant::null();
    suite::insertRow(fixture, QStringLiteral("FattDocumenti"),
                     {{"FattDocumento", "DDTN"}, {"Descrizione", "DDT senza flag interno"}, {"Tipo", "B"},
                      {"Segno", "+"}, {"Interno", n}, {"MagCausale", "VEN"}});
    suite::insertRow(fixture, QStringLiteral("FattDocumenti"),
                     {{"FattDocumento", "FATM"}, {"Descrizione", "Fattura regime del margine"}, {"Tipo", "F"},
                      {"Segno", "+"}, {"Interno", "N"}, {"RegimeMargine", "S"}, {"MagCausale", "VEN"},
                      {"PrefRegIva", "A"}, {"Causale", "FTV"}});
    suite::insertRow(fixture, QStringLiteral("FattDocumenti"),
                     {{"FattDocumento", "OCM"}, {"Descrizione", "Ordine regime del margine"}, {"Tipo", "O"},
                      {"Segno", "+"}, {"Interno", "N"}, {"RegimeMargine", "S"}, {"FattDocEvasione", "FATM"},
                      {"MagCausale", "VEN"}});
    suite::insertRow(fixture, QStringLiteral("FattDocumenti"),
                     {{"FattDocumento", "OCR"}, {"Descrizione", "Ordine con rientro"}, {"Tipo", "O"}, {"Segno", "+"},
                      {"Interno", "N"}, {"FattDocEvasione", "DDT"}, {"MagCausale", "VEN"},
                      {"MagCausaleRientro", "RES"}});

    auto f = std::make_unique<FinestraAiutoDiProva>();
    finestra = f.get();
    installaAiutoDiProva().ImpostaFinestra(std::move(f));
    auto d = std::make_unique<DialoghiEvasione>();
    messaggi = d.get();
    messaggi->risposta = [this](const RichiestaMsgCom &) {
        if (durante)
            durante();
        if (risposte.empty())
            return 1;
        const int r = risposte.front();
        risposte.pop_front();
        return r;
    };
    m_dialoghiPrima = impostaDialoghi(std::move(d));
    ImpostaFrmEvaManu([this]() -> FormEvasioneManuale & { return manuale; });
    nuovoDialogo();
    return true;
}

void DialogoEvasione::TearDown()
{
    delete form.data();
    ImpostaFrmEvaManu({});
    if (messaggi)
        impostaDialoghi(std::move(m_dialoghiPrima));
    if (fixture.isValid())
        fixture.close();
    fixture = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("dialogo"));
}

void DialogoEvasione::nuovoDialogo()
{
    delete form.data();
    form = new frmEvasOrd;
    form->osKeySec = QStringLiteral("EVA2");
    form->Form_Load();
    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
}

void DialogoEvasione::scrivi(int indice, const QString &testo)
{
    form->txt[indice]->setFocus(Qt::TabFocusReason);
    form->txt[indice]->setText(testo);
    form->ComOk->setFocus(Qt::TabFocusReason);
}

void DialogoEvasione::lascia(int indice)
{
    form->txt[indice]->setFocus(Qt::TabFocusReason);
    form->ComOk->setFocus(Qt::TabFocusReason);
}

void DialogoEvasione::esegui(const QString &sql)
{
    suite::execSql(fixture, sql);
}

int32_t DialogoEvasione::ordine(suite::OrderInput o)
{
    return suite::addOrder(fixture, o);
}
