#include "inizmaschera.h"

#include "colori.h"
#include "contesto.h"
#include "datiditta.h"
#include "finestraconnessione.h"
#include "formprogramma.h"
#include "paginazione.h"
#include "risvid.h"
#include "tasti.h"
#include "utilgenerali.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace {

constexpr int32_t kColPulsante = static_cast<int32_t>(0x8000000Fu);
constexpr int32_t kColFinestra = static_cast<int32_t>(0x80000005u);

template <typename F>
void ignora(F &&istruzione) noexcept
{
    try {
        istruzione();
    } catch (const AppError &) {
    }
}

bool vero(int16_t flag)
{
    return flag == -1;
}

// The form's controls: its named child widgets (the toolkit's own parts have no name, or one
// beginning with "qt_").
QList<QWidget *> controlli(QWidget *form)
{
    QList<QWidget *> elenco;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            elenco << w;
    }
    return elenco;
}

int32_t coloreProgettato(const QWidget *c)
{
    if (c->property("BackColor").isValid())
        return BackColor(c);
    if (qobject_cast<const QAbstractScrollArea *>(c) || qobject_cast<const QLineEdit *>(c))
        return kColFinestra;
    if (qobject_cast<const QLabel *>(c) || qobject_cast<const QAbstractButton *>(c) || qobject_cast<const QGroupBox *>(c)
        || qobject_cast<const QFrame *>(c))
        return kColPulsante;
    return kColFinestra;
}

QString parametriLancio(const QWidget *form)
{
    if (const auto *p = dynamic_cast<const FormProgramma *>(form))
        return p->osParam;
    return form->property("osParam").toString();
}

// The paging objects the flags name, in the order the set-up reaches them.
std::vector<OggettoPaginazione *> oggettiPaginazione(QWidget *form, int16_t conComPag, int16_t conComlin,
                                                     int16_t conLinPag, int16_t conLisPag)
{
    std::vector<OggettoPaginazione *> oggetti;
    if (!vero(conComPag) && !vero(conComlin) && !vero(conLinPag) && !vero(conLisPag))
        return oggetti;
    FormPaginata &f = formPaginata(form);
    if (vero(conComPag))
        oggetti.push_back(f.ogComPag());
    if (vero(conLinPag))
        oggetti.push_back(f.ogLinPag());
    if (vero(conLisPag)) {
        oggetti.push_back(f.ogLisPag());
        oggetti.push_back(f.ogComlin());
    }
    if (vero(conComlin))
        oggetti.push_back(f.ogComlin());
    return oggetti;
}

void impostaSuPaginazione(QWidget *form, int16_t conComPag, int16_t conComlin, int16_t conLinPag, int16_t conLisPag,
                          const QString &nome, const Variant &valore)
{
    for (OggettoPaginazione *o : oggettiPaginazione(form, conComPag, conComlin, conLinPag, conLisPag)) {
        ignora([&] {
            if (!o)
                throw AppError::standard(91);
            o->ovLeggiPar(nome, valore);
        });
    }
}

} // namespace

Variant TitoloConDitta(const QString &titolo, const std::optional<Variant> &testo)
{
    return Variant(titolo + QStringLiteral(" - ") + (testo ? testo->text() : gsDescAzie));
}

void InizMaschera(QWidget *form, int16_t conComPag, int16_t conComlin, int16_t conLinPag, int16_t, int16_t conLisPag,
                  int16_t, int16_t solaLettura, int16_t senzaAvviso, int16_t fattore, const QString &esclusioni)
{
    if (glColBackForm != 0) {
        ignora([&] { ImpostaBackColor(form, glColBackForm); });
        for (QWidget *c : controlli(form)) {
            ignora([&] {
                if (!esclusioni.contains(c->objectName() + QLatin1Char(','), Qt::CaseInsensitive)
                    && coloreProgettato(c) == kColPulsante)
                    ImpostaBackColor(c, glColBackForm);
            });
        }
    }

    const QString captionProgettata = form->windowTitle();
    if (senzaAvviso == 0) {
        ignora([&] {
            MostraVersione(true, false);
            FinestraConnessione &avviso = finestraConn();
            avviso.Mostra();
            const QString caption = QStringLiteral("Caricamento maschera");
            avviso.ImpostaCaption(caption);
            avviso.ImpostaNomeDb(caption + QLatin1Char(' ') + captionProgettata);
            avviso.Ridisegna();
        });
    }

    for (QLabel *l : form->findChildren<QLabel *>()) {
        l->setBuddy(nullptr); // an ampersand in the caption shows as itself
        l->setProperty("UseMnemonic", false);
    }
    form->setWindowTitle(TitoloConDitta(captionProgettata).text());
    ImpostaKeyPreview(form, true);
    if (solaLettura == -1) {
        const bool soloLettura = UtilGenerali::ValoreOpzione(parametriLancio(form), QStringLiteral("RO")) == QLatin1String("/RO");
        form->setProperty("oiAbilRW", soloLettura ? 0 : 1);
    }

    if (fattore != 0) {
        ignora([&] {
            double f = -2;
            const double calcolato = RisVidForm(form, true, f);
            if (calcolato > 0)
                impostaSuPaginazione(form, conComPag, conComlin, conLinPag, conLisPag, QStringLiteral("RisVid"),
                                     Variant(calcolato));
        });
    }
}

void AdattaRisVid(QWidget *form, int16_t conComPag, int16_t conComlin, int16_t conLinPag, int16_t, int16_t conLisPag,
                  int16_t, int16_t tieniAvviso, int16_t adatta, const std::optional<EccezioneRisVid> &eccezione)
{
    const Variant stato(gsStatoFinestra);
    if (!gsStatoFinestra.trimmed().isEmpty() && stato.isNumeric()) {
        switch (stato.toInteger()) {
        case 1: form->setWindowState(Qt::WindowMinimized); break;
        case 2: form->setWindowState(Qt::WindowMaximized); break;
        default: form->setWindowState(Qt::WindowNoState); break;
        }
    }
    const int16_t abilRW = static_cast<int16_t>(form->property("oiAbilRW").toInt());
    if (vero(conComPag)) {
        OggettoPaginazione *o = formPaginata(form).ogComPag();
        if (!o)
            throw AppError::standard(91);
        o->oiAbilRW = abilRW;
    }
    if (vero(conLinPag)) {
        OggettoPaginazione *o = formPaginata(form).ogLinPag();
        if (!o)
            throw AppError::standard(91);
        o->oiAbilRW = abilRW;
        QString corrente, totale;
        o->RecCorrSuTot(corrente, totale);
        auto *riga = form->findChild<QLineEdit *>(QStringLiteral("txtRiga"));
        if (!riga)
            throw AppError(ErrNum::ObjectRequired, QStringLiteral("Oggetto richiesto"), QStringLiteral("txtRiga"));
        riga->setText(corrente + QStringLiteral(" / ") + totale);
    }
    if (tieniAvviso == 0)
        ignora([] { finestraConn().Scarica(); });
    if (adatta != 0) {
        ignora([&] {
            EccezioniRisVid eccezioni;
            if (eccezione)
                eccezioni.push_back(*eccezione);
            double f = -2;
            const double usato = RisVidForm(form, false, f, eccezioni);
            if (usato > 0)
                impostaSuPaginazione(form, conComPag, conComlin, conLinPag, conLisPag, QStringLiteral("RisVidFatta"),
                                     Variant(true));
        });
    }
}
