// The checks of the fulfilment dialog's fields when they are left: dates, the two document
// types with the state OK relies on (margin-scheme flags, return causal, kind of the target
// type, split payment, prefix row), prefix, customers, articles, currency and number ranges.
// A wrong field is not refused: it gets the error colour, and OK refuses while a field has it.
#include "frmevasord.h"

#include "campodata.h"
#include "coloracampi.h"
#include "colori.h"
#include "contesto.h"
#include "controllidocumento.h"
#include "decodcampo.h"
#include "decodcodice.h"
#include "dialoghi.h"
#include "parametri.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <limits>

namespace {

// A margin-scheme flag as the dialog keeps it: "N" when the type leaves it empty.
QString flagMargine(const QString &flag) { return UtilGenerali::Vuoto(Variant(flag), 8) ? QStringLiteral("N") : flag; }

// Whether the text is empty or a whole number of digits from `minimo` to `massimo`.
bool numeroValido(const QString &testo, int64_t minimo, int64_t massimo)
{
    const QString t = testo.trimmed();
    if (t.isEmpty())
        return true;
    if (t.size() > 18 || !std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    const int64_t n = t.toLongLong();
    return n >= minimo && n <= massimo;
}

} // namespace

void frmEvasOrd::txt_LostFocus(int Index)
{
    QLineEdit *campo = txt.at(Index);
    ColoraCampoLasciato(campo, 0);
    switch (Index) {
    case 10:
        ControllaCampoData(campo, Variant(int16_t{-4}), 1, std::nullopt, nullptr, false);
        break;
    case 60:
    case 70:
    case 100:
    case 110:
    case 220:
    case 230:
        ControllaCampoData(campo, Variant(int16_t{-2}), 1, std::nullopt, nullptr, false);
        break;
    case 20:
        controllaTipoOrdine();
        break;
    case 30:
        controllaTipoEvasione();
        break;
    case 160:
        controllaPrefisso();
        break;
    case 40:
    case 50:
        ContoLostFocus(campo, lab.at(Index), -1, 3, nullptr, -1, Variant(QString()));
        if (Index == 40 && txt[50]->text().isEmpty()) {
            txt[50]->setText(txt[40]->text());
            ContoLostFocus(txt[50], lab[50], -1, 3, nullptr, -1, Variant(QString()));
        }
        break;
    case 200:
    case 210:
        decodifica(QStringLiteral("Articolo"), Index);
        if (Index == 200 && txt[210]->text().isEmpty()) {
            txt[210]->setText(txt[200]->text());
            decodifica(QStringLiteral("Articolo"), 210);
        }
        break;
    case 190:
        decodifica(QStringLiteral("Moneta"), 190);
        break;
    case 80:
    case 130:
        controllaNumero(Index);
        copiaInA(Index, Index == 80 ? 90 : 150);
        controllaNumero(Index == 80 ? 90 : 150);
        break;
    case 90:
    case 150:
    case 170:
    case 180:
        controllaNumero(Index);
        break;
    default:
        break;
    }
}

void frmEvasOrd::decodifica(const QString &tipo, int Index, Variant *campi, const QString &filtro)
{
    CodiceLostFocus(tipo, txt.at(Index), lab.at(Index), std::nullopt, 0, 0, QString(), campi, filtro, 0, 0);
}

void frmEvasOrd::copiaInA(int da, int a)
{
    if (txt[a]->text().isEmpty())
        txt[a]->setText(txt[da]->text());
}

void frmEvasOrd::controllaNumero(int Index)
{
    // Registration and document numbers, the VAT period's month and year: a text that is no
    // such number would turn into 0 and drop its criterion.
    const int64_t massimo = Index == 170 ? 12 : Index == 180 ? 9999 : std::numeric_limits<int32_t>::max();
    const int64_t minimo = Index == 170 || Index == 180 ? 1 : 0;
    ImpostaBackColor(txt.at(Index), numeroValido(txt.at(Index)->text(), minimo, massimo) ? glColNormale : glColErrore);
}

void frmEvasOrd::controllaTipoOrdine()
{
    Variant campi = ListaCampi({"FattDocEvasione", "MagCausaleRientro", "RegimeMargine"});
    decodifica(QStringLiteral("FattDocumento"), 20, &campi, FiltroTipoOrdine());
    txt[30]->setText(ValoreInLista(campi, 0));
    msCausaleRientro = ValoreInLista(campi, 1);
    msRegMargOrd = flagMargine(ValoreInLista(campi, 2));
    txt_LostFocus(30);
}

void frmEvasOrd::controllaTipoEvasione()
{
    Variant campi = ListaCampi({"PrefRegIva", "Tipo", "PrefBolle", "RegimeMargine", "Causale"});
    decodifica(QStringLiteral("FattDocumento"), 30, &campi, FiltroTipoEvasione());
    const QString prefRegIva = ValoreInLista(campi, 0);
    const QString tipo = ValoreInLista(campi, 1);
    const QString prefBolle = ValoreInLista(campi, 2);
    const QString causale = ValoreInLista(campi, 4);
    mbFattura = false;
    msRegMargEva = flagMargine(ValoreInLista(campi, 3));
    msTipoEva = tipo;
    const bool tipoDato = !txt[30]->text().trimmed().isEmpty();

    const auto rigaPrefisso = [this](bool visibile) {
        Label1[160]->setVisible(visibile);
        lab[160]->setVisible(visibile);
        txt[160]->setVisible(visibile);
    };
    // The row of a delivery-note or invoice type: its caption, the company's list of prefixes
    // (the company's default prefix only when there is a list), then the type's own prefix.
    const auto prefissi = [&](const QString &etichetta, const QString &elenco, const QString &mancano,
                              const QString &parametro, const QString &delTipo) {
        rigaPrefisso(true);
        Label1[160]->setText(etichetta);
        if (elenco.isEmpty()) {
            lab[160]->setText(mancano);
        } else {
            lab[160]->setText(QStringLiteral("(Elenco prefissi da Parametri Fatturazione: ") + elenco + QStringLiteral(" )"));
            txt[160]->setText(LeggiParamMenu(parametro).text());
        }
        if (tipoDato && !delTipo.isEmpty())
            txt[160]->setText(delTipo);
    };
    if (textEquals(tipo, u"B")) {
        prefissi(QStringLiteral("Prefisso DDT: "), LeggiElePrefDdt(),
                 QStringLiteral("Mancano in Param.di Contabilità i prefissi per DDT !!"), QStringLiteral("Fat.PrefDdt"),
                 prefBolle);
    } else if (textEquals(tipo, u"F")) {
        mbFattura = true;
        prefissi(QStringLiteral("Prefisso fatture: "), LeggiEleRegIvaVen(),
                 QStringLiteral("Mancano in Param.di Contabilità i prefissi per fattura !!"),
                 QStringLiteral("Ditta.RegIvaVen"), prefRegIva);
        controllaRegimeMargine();
    } else {
        rigaPrefisso(false);
        txt[160]->clear();
        // a hidden prefix is not used: it must not keep OK refusing a field nobody can reach
        if (BackColor(txt[160]) == glColErrore)
            ImpostaBackColor(txt[160], glColNormale);
    }

    if (mbFattura) {
        Variant split = ListaCampi({"SplitPay"});
        QString descrizione;
        DecodCodice(QStringLiteral("Causale"), Variant(causale), descrizione, std::nullopt, 0, 8, QString(), 0, &split,
                    QString());
        miSplitPay = textEquals(ValoreInLista(split, 0), u"S") ? 2 : 1;
    } else {
        miSplitPay = 0;
    }
}

void frmEvasOrd::controllaPrefisso()
{
    if (textEquals(msTipoEva, u"B")) {
        ColoraPrefDdt(txt[160]);
    } else if (textEquals(msTipoEva, u"F")) {
        ColoraRegIvaVen(txt[160]);
        if (BackColor(txt[160]) == glColNormale)
            controllaRegimeMargine();
    }
}

void frmEvasOrd::controllaRegimeMargine()
{
    // The register of the fulfilment date's year; while the date is not valid (OK refuses the
    // request then) the work date's year stands in.
    const Variant dataEvasione = UtilGenerali::ValoreData(Variant(txt[10]->text()), true);
    const int anno = dataEvasione.isDate() ? dataEvasione.toDate().year() : gtDataLavoro.year();
    const bool registroMargine = LeggiLibroIva(static_cast<int16_t>(anno), QStringLiteral("V"), txt[160]->text());
    const bool tipoMargine = textEquals(msRegMargEva, u"S");
    if (tipoMargine && !registroMargine) {
        ImpostaBackColor(txt[160], glColErrore);
        frmMsgCom::msgCom(QStringLiteral("Prefisso Fattura senza flag regime del margine"), QStringLiteral("&Ok"));
    } else if (!tipoMargine && registroMargine) {
        ImpostaBackColor(txt[160], glColErrore);
        frmMsgCom::msgCom(QStringLiteral("Prefisso Fattura con flag regime del margine"), QStringLiteral("&Ok"));
    }
}
