#include "apriaiuto.h"

#include "contesto.h"
#include "gestioneforms.h"
#include "gestoreaiuto.h"
#include "leggiini.h"
#include "parametri.h"
#include "schermo.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QApplication>
#include <QWidget>

QString gsImmaginiArticoli;
QString gsDirImgArt;
double gdImgRapVertOriz = 0;
bool gbImgDimReali = false;
QString gsImgDove;
int32_t glImgSpazio = 0;

namespace {

// Runs one statement whose failure only leaves its setting as it was.
template <typename F>
void ignora(F &&istruzione) noexcept
{
    try {
        istruzione();
    } catch (const AppError &) {
    }
}

QString personale(const QString &sezione, const QString &nome, const char *predefinito)
{
    return LeggiParamPers(sezione, nome, Variant(predefinito)).text();
}

QString tipoDaLettera(const QString &testo)
{
    const QString c = testo.left(1).toLower();
    if (c == QLatin1String("g"))
        return QStringLiteral("1");
    if (c == QLatin1String("c"))
        return QStringLiteral("3");
    if (c == QLatin1String("f"))
        return QStringLiteral("2");
    return QStringLiteral("0");
}

// A folder that names its drive, a network share or a root of this system is complete.
bool cartellaCompleta(const QString &cartella)
{
    return cartella.mid(1, 1) == QLatin1String(":") || cartella.startsWith(QLatin1String("\\\\"))
           || cartella.startsWith(QLatin1Char('/'));
}

void preparaImmagini()
{
    if (UtilGenerali::Vuoto(Variant(gsImmaginiArticoli), 8, 1, false)) {
        ignora([] { gsImmaginiArticoli = personale(QStringLiteral("Articoli"), QStringLiteral("Immagini"), "N"); });
        if (textEquals(gsImmaginiArticoli, u"S")) {
            ignora([] {
                // The general picture folder serves when the articles have none of their own.
                const QString stato = LeggiIni(QStringLiteral("Base"), QStringLiteral("DirImgArt"), QString(), gsDirImgArt);
                if (stato != QLatin1String("0") || gsDirImgArt.trimmed().isEmpty())
                    LeggiIni(QStringLiteral("Base"), QStringLiteral("DirImmagini"), QString(), gsDirImgArt);
            });
            ignora([] {
                if (!cartellaCompleta(gsDirImgArt)) {
                    QString drive;
                    LeggiIni(QStringLiteral("Base"), QStringLiteral("DriveDB"), QString(), drive);
                    gsDirImgArt = UtilGenerali::ComponiPercorso(QString(), drive, gsDirImgArt);
                }
            });
        }
    }
    if (gsImgDove.isEmpty()) {
        ignora([] {
            gdImgRapVertOriz = UtilGenerali::ValoreNumerico(
                LeggiParamPers(QStringLiteral("Articoli"), QStringLiteral("ImgRapVertOriz"), Variant("0")), true);
        });
        ignora([] { gbImgDimReali = textEquals(personale(QStringLiteral("Articoli"), QStringLiteral("ImgDimReali"), "S"), u"S"); });
        ignora([] { gsImgDove = personale(QStringLiteral("Articoli"), QStringLiteral("ImgDove"), "D"); });
        ignora([] {
            const bool verticale = textEquals(gsImgDove, u"A") || textEquals(gsImgDove, u"B");
            const float meta = static_cast<float>(verticale ? ScreenHeight() : ScreenWidth()) / 2.0F;
            const Variant spazio = LeggiParamPers(QStringLiteral("Articoli"), QStringLiteral("ImgSpazio"),
                                                  Variant(verticale ? "2000" : "5000"));
            glImgSpazio = UtilGenerali::Minimo({Variant(static_cast<double>(meta)),
                                                Variant(UtilGenerali::ValoreLong(spazio, true))})
                              .toLong();
        });
    }
}

void passaImmagini(GestoreAiuto &aiuto)
{
    ignora([&] { aiuto.ImpostaParametro(QStringLiteral("MostraImg"), 12, Variant(true)); });
    ignora([&] { aiuto.OggettoRicerca().ovLeggiPar(QStringLiteral("MostraImg"), Variant(true)); });
    ignora([&] { aiuto.ImpostaParametro(QStringLiteral("DoveMostraImg"), 12, Variant(gsImgDove)); });
    ignora([&] {
        const QString margine = textEquals(gsImgDove, u"A")   ? QStringLiteral("MargSopra")
                                : textEquals(gsImgDove, u"B") ? QStringLiteral("MargSotto")
                                : textEquals(gsImgDove, u"S") ? QStringLiteral("MargSin")
                                                              : QStringLiteral("MargDestra");
        aiuto.OggettoRicerca().ogComlin().ovLeggiPar(margine, Variant(glImgSpazio));
    });
    ignora([&] { aiuto.ImpostaParametro(QStringLiteral("NomeColImg"), 12, Variant("Immagine")); });
    ignora([&] { aiuto.ImpostaParametro(QStringLiteral("DirImgArt"), 12, Variant(gsDirImgArt)); });
    ignora([&] { aiuto.ImpostaParametro(QStringLiteral("ImgRapVertOriz"), 12, Variant(gdImgRapVertOriz)); });
    ignora([&] { aiuto.ImpostaParametro(QStringLiteral("ImgDimReali"), 12, Variant(gbImgDimReali)); });
}

void senzaImmagini(GestoreAiuto &aiuto)
{
    aiuto.ImpostaParametro(QStringLiteral("MostraImg"), 12, Variant(false));
    aiuto.OggettoRicerca().ovLeggiPar(QStringLiteral("MostraImg"), Variant(false));
}

} // namespace

void AnalizzaFormato(const Variant &formato, const QString &testoCodice, const Variant &tasto, Variant &tipoConto)
{
    QString f = formato.text();
    const bool f2 = tasto.isNumeric() && !tasto.isBlank() && tasto.toDouble() == 113;
    if (!f.trimmed().isEmpty() && Variant(f).isNumeric()) {
        const double valore = Variant(f).toDouble();
        if (valore >= 0)
            tipoConto = Variant(f);
        else if (f2)
            tipoConto = f.trimmed() == QLatin1String("-4") ? Variant("0") : Variant(Variant(-valore).text());
        else
            tipoConto = Variant(tipoDaLettera(testoCodice));
        return;
    }
    const bool marca = f.startsWith(QLatin1Char('x'), Qt::CaseInsensitive);
    if (marca)
        f = f.mid(1);
    QString d = QStringLiteral("0");
    const QString lettera = tipoDaLettera(f);
    if (lettera != QLatin1String("0")) {
        d = lettera;
        f = f.mid(1);
    }
    const QString &resto = f;
    if (f2) {
        tipoConto = Variant(marca ? QStringLiteral("0") : resto);
        return;
    }
    if ((d != QLatin1String("0") && d == resto) || (marca && textEquals(testoCodice.left(1), resto))) {
        tipoConto = Variant(d);
        return;
    }
    const QString daCodice = tipoDaLettera(testoCodice);
    tipoConto = Variant(daCodice != QLatin1String("0") ? daCodice : d);
}

Variant ApriAiuto(const QString &tipo, QWidget *codice, QWidget *descrizione, int16_t tasto,
                  const std::optional<Variant> &formatoConto, int16_t &scelto, const QString &prefissoCampi,
                  int16_t opzione, const QString &filtro)
{
    if (!(tasto < 0 || (tasto >= 113 && tasto <= 123)))
        return Variant();
    GestoreAiuto &aiuto = *ggAiuto;
    const QString filtroCopia = filtro;
    const bool conto = textEquals(tipo, u"Conto");

    QString chiave = tipo + QStringLiteral("Campi");
    ignora([&] {
        if (!conto)
            return;
        Variant tipoConto;
        AnalizzaFormato(formatoConto.value_or(Variant(QString())), TestoControllo(codice), Variant(tasto), tipoConto);
        const QString t = tipoConto.text();
        chiave += t == QLatin1String("0") ? QString() : t;
    });
    ignora([&] {
        if (conto)
            aiuto.OggettoDecodifica().ovLeggiPar(QStringLiteral("CFHelpRic11"),
                                                 LeggiParamPers(QStringLiteral("Tutti"), QStringLiteral("CFHelpRic11"), Variant("")));
    });
    ignora([&] {
        if (conto)
            aiuto.OggettoDecodifica().ovLeggiPar(QStringLiteral("CFHelpRic12"),
                                                 LeggiParamPers(QStringLiteral("Tutti"), QStringLiteral("CFHelpRic12"), Variant("")));
    });

    QString colonne;
    ignora([&] { colonne = personale(QStringLiteral("Help"), chiave, ""); });
    ignora([&] {
        if (conto && UtilGenerali::Vuoto(Variant(colonne), 8, 1, false))
            colonne = personale(QStringLiteral("Help"), tipo + QStringLiteral("Campi"), "");
    });
    if (textEquals(colonne.left(4), u",No,"))
        colonne.clear();
    const QString campi = prefissoCampi + colonne;

    ignora([&] {
        aiuto.OggettoRicerca().ogComlin().ovLeggiPar(
            QStringLiteral("ForzaPassThrough"),
            Variant(textEquals(personale(QStringLiteral("Help"), tipo + QStringLiteral("SQLPass"), ""), u"S")));
    });
    const int32_t colorePrima = aiuto.OggettoDecodifica().olColBackOk;
    aiuto.OggettoDecodifica().olColBackOk = glColBackGotFocus;
    for (const char *margine : {"MargSopra", "MargSotto", "MargSin", "MargDestra"})
        aiuto.OggettoRicerca().ogComlin().ovLeggiPar(QString::fromLatin1(margine), Variant(int16_t(0)));

    if (textEquals(tipo, u"Articolo")) {
        preparaImmagini();
        if (textEquals(gsImmaginiArticoli, u"S"))
            passaImmagini(aiuto);
    } else {
        ignora([&] { senzaImmagini(aiuto); });
    }
    ignora([] { NascondiForms(); });

    int16_t t = tasto;
    const Variant risultato = aiuto.MostraAiuto(tipo, codice, descrizione, t, QApplication::activeWindow(),
                                                formatoConto, scelto, opzione, campi, filtroCopia);
    aiuto.OggettoDecodifica().olColBackOk = colorePrima;
    senzaImmagini(aiuto);
    return risultato;
}
