// Key codes and the key preview of forms.
#include "tasti.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

TEST(CodiceTasto, TheRunTimesKeyCodes)
{
    struct Caso {
        int tasto;
        Qt::KeyboardModifiers mod;
        int16_t codice;
    } casi[] = {
        {Qt::Key_A, {}, 65},       {Qt::Key_Z, Qt::ShiftModifier, 90}, {Qt::Key_5, {}, 53},
        {Qt::Key_5, Qt::KeypadModifier, 101}, {Qt::Key_F1, {}, 112},   {Qt::Key_F12, {}, 123},
        {Qt::Key_Return, {}, 13},  {Qt::Key_Enter, Qt::KeypadModifier, 13}, {Qt::Key_Escape, {}, 27},
        {Qt::Key_PageUp, {}, 33},  {Qt::Key_PageDown, {}, 34},           {Qt::Key_End, {}, 35},
        {Qt::Key_Home, {}, 36},    {Qt::Key_Up, {}, 38},                 {Qt::Key_Down, {}, 40},
        {Qt::Key_Period, Qt::KeypadModifier, 110}, {Qt::Key_Comma, Qt::KeypadModifier, 110},
        {Qt::Key_Period, {}, 190}, {Qt::Key_Super_R, {}, 92},           {Qt::Key_Eacute, {}, 0},
    };
    for (const Caso &c : casi) {
        QKeyEvent e(QEvent::KeyPress, c.tasto, c.mod);
        EXPECT_EQ(KeyCodeVb(e), c.codice) << c.tasto;
    }
    EXPECT_EQ(ShiftVb(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier), 7);
    EXPECT_EQ(ShiftVb(Qt::AltModifier | Qt::KeypadModifier), 4);
}

// Records what the form's handlers saw; consumes F5, drops "x", types "y" for "z".
class FormRegistra : public QWidget, public TastiForm {
public:
    void Form_KeyDown(int16_t &KeyCode, int16_t Shift) override
    {
        giu << QString("%1/%2").arg(KeyCode).arg(Shift);
        if (KeyCode == 116)
            KeyCode = 0;
    }
    void Form_KeyPress(int16_t &KeyAscii) override
    {
        premuti << QString::number(KeyAscii);
        if (KeyAscii == u'x')
            KeyAscii = 0;
        else if (KeyAscii == u'z')
            KeyAscii = u'y';
    }
    QStringList giu, premuti;
};

TEST(KeyPreview, TheFormSeesEachKeyOnceBeforeItsControls)
{
    FormRegistra form;
    auto *gruppo = new QGroupBox(&form);
    auto *campo = new QLineEdit(gruppo);
    auto *l = new QVBoxLayout(gruppo);
    l->addWidget(campo);
    ImpostaKeyPreview(&form, true);
    EXPECT_TRUE(KeyPreview(&form));
    auto *dopo = new QLineEdit(gruppo); // added after the set-up
    l->addWidget(dopo);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    campo->setFocus();
    QTest::keyClicks(campo, "axzb");
    QTest::keyClick(campo, Qt::Key_F5);
    EXPECT_EQ(campo->text(), "ayb");
    EXPECT_EQ(form.giu, (QStringList{"65/0", "88/0", "90/0", "66/0", "116/0"}));
    EXPECT_EQ(form.premuti, (QStringList{"97", "120", "122", "98"}));

    dopo->setFocus();
    QTest::keyClick(dopo, Qt::Key_Z);
    QTest::keyClick(dopo, Qt::Key_Return, Qt::KeypadModifier);
    EXPECT_EQ(dopo->text(), "y");
    EXPECT_EQ(form.giu.mid(5), (QStringList{"90/0", "13/0"}));
    EXPECT_EQ(form.premuti.mid(4), (QStringList{"122", "13"}));

    ImpostaKeyPreview(&form, false);
    QTest::keyClicks(dopo, "z");
    EXPECT_EQ(dopo->text(), "yz");
    EXPECT_EQ(form.giu.size(), 7);
}

} // namespace
