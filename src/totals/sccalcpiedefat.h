#pragma once
// The footer calculator of a delivery note or an invoice. Told the four tables of the
// document's family and its key, it reads the document, builds its VAT breakdown and leaves
// every total in its public members; it writes no table.
//
// The closing of a run keeps one calculator for all its documents:
//
//   scCalcPiedeFat calc;
//   calc.osTabTesta = "FatTest"; calc.osTabDett = "FatDett";
//   calc.osTabLiv = "FatLiv";    calc.osTabSpese = "FatSpese";
//   calc.CalcPiedeFat(anno, numRif, false, -1);            // a delivery note passes its
//                                                          // customer's PianoConti.Bolli last
//   if (calc.oiNumErrori > 0) ... calc.osErrori: the totals are not to be stored
//   calc.odTotMerce, odTotSpese, odTotIva, odTotFattura, odTotImponibile, odTotImpRitAcc,
//   and odTotBolli for an invoice bearing stamps.
//
// A calculation never raises: any failure becomes a line of osErrori naming the stage, ends
// the calculation and leaves the totals as far as they were computed. The error list is
// complete (errors of the nested withholding run and of the payment schedule included), so
// oiNumErrori == 0 means that every figure is the document's.
#include "currency.h"
#include "scive.h"
#include "variant.h"
#include "vettorechiavi.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class GestRecordset;

class scCalcPiedeFat {
public:
    scCalcPiedeFat();
    ~scCalcPiedeFat();
    scCalcPiedeFat(const scCalcPiedeFat &) = delete;
    scCalcPiedeFat &operator=(const scCalcPiedeFat &) = delete;

    // ---- results
    scIve ogIve;                  // VAT breakdown by VAT key, counterpart and share
    Currency odTotMerce;          // goods, net of VAT when prices include it
    Currency odTotEsente;         // exempt total (exempt stamps included)
    Currency odTotEsenteAppBol;   // exempt total that counts for the stamp threshold
    Currency odTotSpese;          // expenses (pension-fund contribution included)
    Currency odTotFattura;        // document total (stamps included)
    Currency odTotPagare;         // amount to pay
    Currency odTotImponibile;     // taxable total of the codes liable to VAT
    Currency odTotIva;            // VAT total
    Currency odTotBolli;          // stamp duty
    Currency odTotImpOmaggi;      // taxable of the gifts liable to VAT
    Currency odTotOmaggiNoIva;    // gifts without VAT
    Currency odTotOmaggi;         // gifts with VAT
    Currency odTotImpRitAcc;      // amount subject to withholding tax
    Currency odTotImpRitAccEff;   // the part of it the tax is computed on
    Currency odRitAcc;            // withholding tax
    Currency ouPercCassaPrev;     // pension-fund percentage (last row)
    Currency ouTotCassaPrev;      // pension-fund contribution
    Currency odAbbuono;           // the header's Abbuono (invoices)
    Currency odAcconto;           // the header's Acconto
    bool obFattEsente = false;    // no code liable to VAT
    QString osGruppoBol, osMastroBol, osContoBol; // stamp-duty account
    Currency odScontoPag;         // payment-discount percentage
    QString osScontoPag;          // the header's ScontoPag, trimmed
    bool obApplScontoPag = false; // some payment discount was computed
    VettoreChiavi ogSpese;        // expenses by print reference (Importo)
    VettoreChiavi ogSpesePerc;    // computed percentage and weight expenses by row (Importo)
    bool obOmaSIvaPres = false;   // a gift line of kind "I" exists
    bool obOmaTotPres = false;    // a gift line of kind "S" exists
    double odTotBolliScad = 0.0;  // sum of the instalment stamps of the payment schedule
    bool obBolliEsenti = false;   // stamps count as exempt
    QString osErrori;             // error list, thirty lines at most
    int16_t oiNumErrori = 0;      // errors met, also beyond thirty
    int16_t oiNumSconti = 0;      // cascade-discount indexes of the document
    bool obCassaPrevNoImpon = false; // the pension-fund contribution stays out of the taxable
    QString osCassaPrevGruppo, osCassaPrevMastro, osCassaPrevConto;

    // ---- settings of the caller
    QString osTabTesta, osTabDett, osTabLiv, osTabSpese;
    QString osTipoGest;           // "A" joins the supplier account (never set by this program)
    bool obErrNoDett = true;      // a document without lines is an error
    int32_t olRighePagina = 2000; // lines read at a time: a long document is never held whole

    // The footer of the document (piAnno, plNumRif). pbCalcRitAcc True is the nested run of
    // the withholding tax; pdPercRitAcc below 0 takes the header's PercRitAcc; pvAddBolli, when
    // given, is the document's stamp flag in place of the header's Bolli.
    void CalcPiedeFat(int16_t piAnno, int32_t plNumRif, bool pbCalcRitAcc, double pdPercRitAcc,
                      const std::optional<Variant> &pvAddBolli = std::nullopt);
    void AzzeraVarPiede();
    // The withholding tax by a nested calculation of the same document.
    void CalcRitAcc(double pdPercRitAcc, int16_t piNumDec);
    // The stamp of instalment n; 9 outside the list.
    double odSpeseScad(int16_t piNumScad) const;
    void setOdSpeseScad(int16_t piNumScad, double mdSpesaScad);
    int16_t oiSpeseScadNum() const;
    // The expense values of every code with their VAT added.
    void CalcIvSpese(int16_t piNumDec);
    // The goods after the first piIndSco - 1 cascade discounts (a Double), or the integer 0.
    Variant odTotMerceSco(int16_t piIndSco) const;

private:
    // Working values of one calculation, shared by its stages.
    struct Lavoro {
        bool pbCalcRitAcc = false;
        double pdPercRitAcc = -1;
        bool lbNoAddBolli = true;
        Variant pvAddBolli;
        QString lsContoVen;
        bool lbGestVuotiCauz = false;
        QString lsPrezziIvati = QStringLiteral("N");
        int16_t liNumDec = 0;
        QString lsMoneta;
        QString lsTipoEffetto;
        Currency luTotMerceNetta;
        double ldPercRitAcc = 0;
        // stamp settings (stage 2, replaced by a stamp expense row in stage 4)
        bool lbTabBolli = false;
        QString lsAliasBolli;
        QString lsCodEseBollo;
        QString lsCodBolloTabella; // the code of the settings, whose VAT row the settings' query joins
        QString lsContoBol;
        Currency luPercBolloTratte, luMaxNoBollo, luBolloEsente, luArrotondBollo;
        std::array<Currency, 6> luScaRB{}, luBolloRB{}; // 1 to 5
        bool lbSpesaBolloTratte = false;
        QString lsSoggScoPagBollo;
        double ldImportoMinBollo = 0, ldImportoMaxBollo = 0;
    };

    // Stages, in the order of the calculation; false ends it early.
    bool LeggiTestata();
    void LeggiBolli();
    bool LeggiDettagli();
    void LeggiSpese();
    void RipartisciIvaSpese();
    void CalcolaRitenuta();
    void CalcolaTotali();
    void PreparaBolli();
    void CalcolaBolli();
    void ParteFinale();

    void CalcScontoPagam(const QString &psPrezziIvati, int16_t piNumDec);
    void CalcIva(const QString &psPrezziIvati, int16_t piNumDec);
    void PrepSqlTestaDoc(QString &psSql) const;
    // The lines query in parts: fields, tables and the document's WHERE; the account expression
    // it orders by (after the VAT code); the order of a code and account's rows by their key.
    struct SqlDettagli {
        QString campi, daWhere, conto, ordineRiga;
        bool livelli = false;
    };
    void PrepSqlDettDoc(SqlDettagli &pqSql, bool pbGestVuotiCauz) const;
    void PrepSqlSpeseDoc(QString &psSql) const;
    void AccodaErrore(int32_t plNumErrore, const QString &psErrore);
    void AccodaRiga(const QString &psRiga);

    GestRecordset &rs();
    // The expenses query opened under msAliasSpese, and the fields of its current row.
    void ApriSpese();
    QString testoSpesa(const QString &psCampo);
    double numeroSpesa(const QString &psCampo);
    // An expense's VAT code, created with its data when missing, and its empty share of the
    // counterpart; the key filed under.
    QString PreparaIvaSpesa(const QString &psConto);
    // The stamp schedule of a bill with a stamp expense row.
    void BolliDaScadenze(Currency luImportoScad);
    // The VAT table row of the stamp code in force (type, descriptions, rate).
    void LeggiIvaBollo(QString &psTipo, QString &psBreve, QString &psLunga, QString &psMemo, Currency &puAliquota,
                       QString &psApplBolloEse);

    std::unique_ptr<GestRecordset> mgGestRs;
    QString msAliasTesta, msAliasDett, msAliasSpese;
    int16_t miAnno = 0;
    int32_t mlNumRif = 0;
    bool mbGesTaglie = false;
    QString msFase;
    QString msRegimeMargine;
    bool mbScoPagSuDett = false;
    std::vector<double> mdSpeseScad;
    std::vector<double> mdTotMerceSco;
    Lavoro m_w;
};
