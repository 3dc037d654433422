// F1, Ctrl+F1 and Alt+F1: what reaches the help viewer.
#include "apperror.h"
#include "modhtmlhelp.h"
#include "visualizzatoreaiutodiprova.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

constexpr int16_t kCtrl = 2, kAlt = 4, kCtrlShift = 3;

// A form with a text box inside a frame, the text box focused.
struct FormConCornice {
    QWidget form;
    QGroupBox *cornice = new QGroupBox(&form);
    QLineEdit *testo = new QLineEdit(cornice);

    FormConCornice()
    {
        (new QVBoxLayout(&form))->addWidget(cornice);
        (new QVBoxLayout(cornice))->addWidget(testo);
        form.show();
        QApplication::setActiveWindow(&form);
        testo->setFocus();
    }
};

class ModHtmlHelp : public ::testing::Test {
protected:
    void SetUp() override { ImpostaAppHelpFile("/opt/suite/help/ordini.chm"); }
    void TearDown() override { ImpostaAppHelpFile({}); }
    VisualizzatoreAiutoInstallato viewer;
};

TEST_F(ModHtmlHelp, F1ShowsTheContentsThenTheTopicOfTheNearestContainer)
{
    FormConCornice f;
    ASSERT_EQ(QApplication::focusWidget(), f.testo);
    ImpostaHelpContextID(f.cornice, 120);
    ImpostaHelpContextID(&f.form, 7);
    int16_t tasto = kTastoF1;
    EXPECT_TRUE(GestioneF1(tasto, 0, &f.form, -1));
    EXPECT_EQ(tasto, 0);
    ASSERT_EQ(viewer.richieste().size(), 2u);
    EXPECT_EQ(viewer.richieste()[0].comando, ComandoAiuto::Sommario);
    EXPECT_EQ(viewer.richieste()[0].file, "/opt/suite/help/ordini.chm");
    EXPECT_EQ(viewer.richieste()[1].comando, ComandoAiuto::Contesto);
    EXPECT_EQ(viewer.richieste()[1].numero(), 120);

    // the control's own id wins; nothing set anywhere gives the form's (here 0)
    ImpostaHelpContextID(f.testo, 33);
    EXPECT_EQ(ContestoControllo(&f.form), 33);
    ImpostaHelpContextID(f.testo, 0);
    ImpostaHelpContextID(f.cornice, 0);
    EXPECT_EQ(ContestoControllo(&f.form), 7);
    ImpostaHelpContextID(&f.form, 0);
    EXPECT_EQ(ContestoControllo(&f.form), 0);
    // an explicit id is used as it is
    tasto = kTastoF1;
    GestioneF1(tasto, 0, &f.form, 55);
    EXPECT_EQ(viewer.richieste().back().numero(), 55);
}

TEST_F(ModHtmlHelp, CtrlAndAltF1ShowContentsAndIndexOtherShiftsAreF1)
{
    FormConCornice f;
    ImpostaHelpContextID(f.testo, 9);
    struct Caso {
        int16_t shift;
        std::vector<uint32_t> comandi;
    };
    for (const Caso &c : {Caso{kCtrl, {ComandoAiuto::Sommario}}, Caso{kAlt, {ComandoAiuto::Indice}},
                          Caso{kCtrlShift, {ComandoAiuto::Sommario, ComandoAiuto::Contesto}}}) {
        viewer->richieste.clear();
        int16_t tasto = kTastoF1;
        EXPECT_TRUE(GestioneF1(tasto, c.shift, &f.form));
        std::vector<uint32_t> comandi;
        for (const auto &r : viewer.richieste())
            comandi.push_back(r.comando);
        EXPECT_EQ(comandi, c.comandi) << "shift " << c.shift;
        EXPECT_EQ(viewer.richieste().back().numero(), c.shift == kCtrlShift ? 9 : 0);
    }
}

TEST_F(ModHtmlHelp, OtherKeysAndMissingFilesLeaveTheKeyAlone)
{
    FormConCornice f;
    int16_t tasto = 113; // F2
    EXPECT_FALSE(GestioneF1(tasto, 0, &f.form));
    EXPECT_EQ(tasto, 113);

    QTemporaryDir dir;
    const QString hlp = dir.filePath("ordini.hlp");
    ImpostaAppHelpFile(hlp);
    tasto = kTastoF1;
    EXPECT_FALSE(GestioneF1(tasto, 0, &f.form));
    EXPECT_EQ(tasto, kTastoF1);
    EXPECT_TRUE(viewer.richieste().empty());

    QFile chm(dir.filePath("ordini.chm"));
    ASSERT_TRUE(chm.open(QIODevice::WriteOnly));
    chm.close();
    EXPECT_EQ(FileHelp(), dir.filePath("ordini.chm"));
    EXPECT_TRUE(GestioneF1(tasto, 0, &f.form));
    EXPECT_EQ(viewer.richieste().front().percorso(), dir.filePath("ordini.chm"));

    // a ".chm" name is taken without looking for the file; a name too short has no substitute
    ImpostaAppHelpFile("/non/esiste.CHM");
    EXPECT_EQ(FileHelp(), "/non/esiste.CHM");
    ImpostaAppHelpFile("a.b");
    EXPECT_EQ(FileHelp(), "");
}

TEST_F(ModHtmlHelp, TopicsWindowNamesAndKeywordsAreWrittenAsTheViewerExpects)
{
    HelpSommario(0, "a.chm", "pag/uno.htm", "princ");
    HelpSommario(0, "a.chm", "   ", "princ");
    HelpContesto(0, "a.chm", 42, "princ");
    HelpIndice(0, "a.chm", QString::fromUtf8("città"));
    const auto &r = viewer.richieste();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0].file, "a.chm::/pag/uno.htm>princ");
    EXPECT_EQ(r[0].argomento(), "pag/uno.htm");
    EXPECT_EQ(r[0].nomeFinestra(), "princ");
    EXPECT_EQ(r[1].file, "a.chm>princ");
    EXPECT_EQ(r[3].file, "a.chm>princ");
    EXPECT_EQ(r[3].numero(), 42);
    const QByteArray atteso = QByteArray("citt\xe0") + '\0';
    EXPECT_EQ(std::get<QByteArray>(r[4].dato), atteso);
    EXPECT_EQ(r[4].parolaChiave(), QString::fromUtf8("città"));

    // 254 characters fit the viewer's buffer; one more is refused before anything is shown
    HelpIndice(0, "a.chm", QString(254, u'x'));
    EXPECT_THROW(HelpIndice(0, "a.chm", QString(255, u'x')), AppError);
    EXPECT_EQ(viewer.richieste().size(), 6u);
}

TEST(VisualizzatoreAiutoSistema, UsesTheFirstViewerFoundAndOpensATopicOnce)
{
    std::vector<std::pair<QString, QStringList>> avviati;
    VisualizzatoreAiutoSistema v([](const QString &nome) { return nome == "xchm" ? "/usr/bin/xchm" : QString(); },
                                 [&](const QString &p, const QStringList &a) {
                                     avviati.emplace_back(p, a);
                                     return true;
                                 });
    // contents then a topic of the same file: one viewer, on the topic
    v.HtmlHelp({0, "/h/a.chm", ComandoAiuto::Sommario, int32_t{0}});
    v.HtmlHelp({0, "/h/a.chm", ComandoAiuto::Contesto, int32_t{120}});
    QApplication::processEvents();
    ASSERT_EQ(avviati.size(), 1u);
    EXPECT_EQ(avviati[0].first, "/usr/bin/xchm");
    EXPECT_EQ(avviati[0].second, (QStringList{"-c", "120", "/h/a.chm"}));

    // nothing found: nothing started
    VisualizzatoreAiutoSistema nessuno([](const QString &) { return QString(); },
                                       [&](const QString &p, const QStringList &a) {
                                           avviati.emplace_back(p, a);
                                           return true;
                                       });
    nessuno.HtmlHelp({0, "/h/a.chm", ComandoAiuto::Sommario, int32_t{0}});
    QApplication::processEvents();
    EXPECT_EQ(avviati.size(), 1u);

    const RichiestaAiuto indice{0, "/h/a.chm", ComandoAiuto::Indice, QByteArray("iva\0", 4)};
    EXPECT_EQ(VisualizzatoreAiutoSistema::argomenti("kchmviewer", indice), (QStringList{"-sindex", "iva", "/h/a.chm"}));
    EXPECT_EQ(VisualizzatoreAiutoSistema::argomenti("xdg-open", indice), QStringList{"/h/a.chm"});
}

} // namespace
