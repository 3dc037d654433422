// The picking window opens wide enough for the columns of the line grid, up to its description,
// within the screen it is on.
#include "formmanuale.h"

#include "grigliaevamanu.h"
#include "modellogriglia.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

class SchermoManuale : public FormManuale {
protected:
    // The window as the picking opens it on the screen of that name, with one staged order.
    void apriSu(const QString &nome)
    {
        ordineSemplice(0, {10, 3});
        form = new FrmEvaManu;
        for (QScreen *s : QGuiApplication::screens())
            if (s->name() == nome)
                form->setScreen(s);
        ASSERT_EQ(form->screen()->name(), nome);
        form->Form_Load();
        form->controllo().ogEvaOrd = std::shared_ptr<scEvaOrdVen>(&eva, [](scEvaOrdVen *) {});
        form->controllo().EvasioneManuale();
        ASSERT_TRUE(form && form->isVisible());
    }
    bool dentroLoSchermo() const { return form->screen()->availableGeometry().contains(form->frameGeometry()); }
    // How much of the line grid's column shows without scrolling, in pixels.
    int visibile(const char *campo)
    {
        GrigliaEvaManu &v = vista(1);
        const int c = griglia(1).Colonna(QString::fromLatin1(campo));
        const int inizio = v.columnViewportPosition(c);
        return std::clamp(v.viewport()->width() - inizio, 0, v.columnWidth(c));
    }
};

TEST_P(SchermoManuale, OnAWideScreenTheLinesShowUpToTheirDescription)
{
    apriSu(QStringLiteral("grande"));
    // "Dt. Cons" whole, and the description's first words
    EXPECT_EQ(visibile("DataCons"), vista(1).columnWidth(griglia(1).Colonna(QStringLiteral("DataCons"))));
    EXPECT_GE(visibile("Descrizione"), 100) << form->width();
    EXPECT_TRUE(dentroLoSchermo());
}

TEST_P(SchermoManuale, OnASmallScreenTheWindowStaysWithinIt)
{
    apriSu(QStringLiteral("piccolo"));
    EXPECT_TRUE(dentroLoSchermo()) << form->frameGeometry().x() << "," << form->frameGeometry().y() << " "
                                   << form->frameGeometry().width() << "x" << form->frameGeometry().height();
}

INSTANTIATE_TEST_SUITE_P(Engines, SchermoManuale, ::testing::Values(Engine::SQLite), engineParamName);
