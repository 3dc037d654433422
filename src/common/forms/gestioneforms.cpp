#include "gestioneforms.h"

#include "agganci.h"
#include "controlli.h"
#include "forms.h"
#include "mostraform.h"
#include "textcompare.h"

#include <QWidget>

namespace {

const QString kAiuto = QStringLiteral("Aiuto");

void chiudiAiuto(QWidget *form)
{
    if (!QMetaObject::invokeMethod(form, "ChiudiAiuto"))
        throw erroreMetodoNonSupportato(NomeForm(form) + QStringLiteral(".ChiudiAiuto"));
}

} // namespace

bool ScaricaForms(int16_t &esito, const QString &captionDaTenere)
{
    esito = 1;
    bool risultato = true;
    try {
        int saltate = 0;
        int ultima = -1;
        bool aiuto = false;
        while (Forms::Count() > saltate) {
            QWidget *form = Forms::Item(Forms::Count() - 1 - saltate);
            if (textEquals(CaptionForm(form), captionDaTenere)) {
                ++saltate;
            } else if (textEquals(CaptionForm(form), kAiuto)) {
                aiuto = true;
                ++saltate;
            } else {
                const int prima = Forms::Count();
                Forms::Scarica(form);
                if (Forms::Count() == prima) {
                    ultima = prima - 1;
                    break;
                }
            }
        }
        if (Forms::Count() > saltate) {
            if (ultima > 0)
                Forms::Item(ultima)->show();
            risultato = false;
        } else if (aiuto) {
            for (QWidget *form : Forms::Elenco()) {
                if (!textEquals(CaptionForm(form), kAiuto))
                    continue;
                const int prima = Forms::Count();
                chiudiAiuto(form);
                if (Forms::Count() == prima) {
                    form->show();
                    return false;
                }
            }
        }
    } catch (...) {
    }
    esito = 0;
    return risultato;
}

bool FormCaricata(const QString &nome)
{
    for (const QWidget *form : Forms::Elenco())
        if (textEquals(NomeForm(form), nome))
            return true;
    return false;
}

int16_t IndiceForm(const QString &nome, const std::optional<QString> &parteCaption)
{
    const QList<QWidget *> elenco = Forms::Elenco();
    for (int i = 0; i < elenco.size(); ++i) {
        if (!textEquals(NomeForm(elenco[i]), nome))
            continue;
        if (parteCaption && !CaptionForm(elenco[i]).contains(*parteCaption, Qt::CaseInsensitive))
            continue;
        return static_cast<int16_t>(i);
    }
    return -1;
}

void NascondiForms()
{
    const QList<QWidget *> elenco = Forms::Elenco();
    for (auto it = elenco.crbegin(); it != elenco.crend(); ++it) {
        QWidget *form = *it;
        const QVariant noHelp = form->property("oiNoHelp");
        if (!noHelp.isValid() || noHelp.toInt() <= 0 || !form->isVisible())
            continue;
        form->setProperty("oiNoHelp", 2);
        form->hide();
    }
}

bool TentaChiusura(int16_t &flag)
{
    if (flag == 0) {
        TerminaProgramma();
        return true;
    }
    bool impedita = false;
    try {
        impedita = UtilGenerali::ChiusuraImpedita();
    } catch (...) {
        impedita = false;
    }
    flag = 0;
    if (impedita)
        return false;
    TerminaProgramma();
    return true;
}
