#include "modhtmlhelp.h"

#include "tastivb.h"
#include "utilgenerali.h"
#include "visualizzatoreaiuto.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

namespace {

constexpr qsizetype kMaxParolaChiave = 254;
const char kProprietaContesto[] = "HelpContextID";

QString &fileHelpApp()
{
    static QString file;
    return file;
}

QString conFinestra(const QString &testo, const QString &nomeFinestra)
{
    return nomeFinestra.isEmpty() ? testo : testo + u'>' + nomeFinestra;
}

quintptr maniglia(const QWidget *form)
{
    return form ? static_cast<quintptr>(form->window()->internalWinId()) : 0;
}

} // namespace

QString AppHelpFile()
{
    return fileHelpApp();
}

void ImpostaAppHelpFile(const QString &file)
{
    fileHelpApp() = file;
}

int32_t HelpContextID(const QWidget *w)
{
    if (!w)
        return 0;
    const QVariant v = w->property(kProprietaContesto);
    return v.isValid() ? v.toInt() : 0;
}

void ImpostaHelpContextID(QWidget *w, int32_t id)
{
    if (w)
        w->setProperty(kProprietaContesto, id);
}

bool GestioneF1(int16_t &KeyCode, int16_t Shift, QWidget *form, int32_t contesto)
{
    if (KeyCode != kTastoF1)
        return false;
    const QString file = FileHelp();
    if (UtilGenerali::Vuoto(Variant(file)))
        return false;
    const quintptr finestra = maniglia(form);
    if (Shift == kShiftCtrl)
        HelpSommario(finestra, file);
    else if (Shift == kShiftAlt)
        HelpIndice(finestra, file);
    else
        HelpContesto(finestra, file, contesto > -1 ? contesto : ContestoControllo(form));
    KeyCode = 0;
    return true;
}

QString FileHelp()
{
    const QString file = fileHelpApp();
    if (file.isEmpty() || file.endsWith(QLatin1String(".chm"), Qt::CaseInsensitive))
        return file;
    // A name too short to carry an extension has no ".chm" of its own.
    if (file.size() < 4)
        return {};
    const QString chm = file.left(file.size() - 4) + QStringLiteral(".chm");
    return QFileInfo::exists(chm) ? chm : QString();
}

void HelpSommario(quintptr finestra, const QString &file, const QString &argomento, const QString &nomeFinestra)
{
    if (argomento.trimmed().isEmpty())
        HtmlHelpA(finestra, conFinestra(file, nomeFinestra), ComandoAiuto::Sommario, int32_t{0});
    else
        HtmlHelpA(finestra, conFinestra(file + QStringLiteral("::/") + argomento, nomeFinestra),
                  ComandoAiuto::Sommario, int32_t{0});
}

void HelpContesto(quintptr finestra, const QString &file, int32_t contesto, const QString &nomeFinestra)
{
    HelpSommario(finestra, file, {}, nomeFinestra);
    HtmlHelpA(finestra, conFinestra(file, nomeFinestra), ComandoAiuto::Contesto, contesto);
}

void HelpIndice(quintptr finestra, const QString &file, const QString &parolaChiave)
{
    if (parolaChiave.isEmpty()) {
        HtmlHelpA(finestra, file, ComandoAiuto::Indice, int32_t{0});
        return;
    }
    if (parolaChiave.size() > kMaxParolaChiave)
        throw AppError::standard(ErrNum::Subscript, QStringLiteral("HelpIndice"));
    QByteArray buffer = parolaChiave.toLatin1();
    buffer.append('\0');
    HtmlHelpA(finestra, file, ComandoAiuto::Indice, buffer);
}

int32_t ContestoControllo(QWidget *form)
{
    QWidget *attivo = QApplication::focusWidget();
    if (!attivo)
        return HelpContextID(form);
    const int32_t proprio = HelpContextID(attivo);
    if (proprio >= 1)
        return proprio;
    const int32_t contenitore = ContestoContenitore(attivo);
    return contenitore != 0 ? contenitore : HelpContextID(form);
}

int32_t ContestoContenitore(QWidget *controllo)
{
    if (!controllo || controllo->isWindow())
        return 0;
    for (QWidget *c = controllo->parentWidget(); c; c = c->parentWidget()) {
        const int32_t id = HelpContextID(c);
        if (id > 0)
            return id;
        if (c->isWindow())
            break;
    }
    return 0;
}
