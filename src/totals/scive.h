#pragma once
// The VAT breakdown of one document: by VAT key (scIva), within a key by counterpart account
// (scControP), within a counterpart by cost-centre/competence share (scControPCDCComp). The
// model stores, finds and adds on request; every figure is computed by the footer's stages.
//
// Missing keys are errors for the caller (5), adding a present key too (457): the stages test
// with obEsiste / obCPEsiste / obCdcCompEsiste and add before they read or write. The empty
// text is an ordinary key (an expense without account is filed under it).
#include "collezionechiavi.h"
#include "currency.h"

#include <QString>
#include <cstdint>
#include <vector>

// The eighteen amounts kept at all three levels (code, counterpart, share). Currency, as
// every od... member of the footer classes.
struct ImportiIva {
    Currency odImpon;             // taxable amount
    Currency odImpos;             // VAT
    Currency odMerce;             // goods value
    Currency odTotImpoImpos;      // taxable plus VAT
    Currency odIvaOmaggioT;       // VAT of the gift lines of kind "S"
    Currency odImpOmaggioT;       // taxable part of the gift lines of kind "S"
    Currency odSVal;              // sales not subject to the payment discount
    Currency odSValPerSco;        // sales subject to the payment discount
    Currency odScoPagam;          // payment discount on odSValPerSco
    Currency odSValOmaggio;       // gifts of kind "I" not subject to the discount
    Currency odSValOmaggioPerSco; // gifts of kind "I" subject to the discount
    Currency odScoPagamOmaggio;   // payment discount on odSValOmaggioPerSco
    Currency odSValOmaggioT;      // gifts of kind "S"
    Currency odSValSpese;         // expenses not subject to the discount
    Currency odSValSpesePerSco;   // expenses subject to the discount
    Currency odScoPagamSpese;     // payment discount on odSValSpesePerSco
    Currency odSValIvSpese;       // odSValSpese with its VAT
    Currency odSValIvSpesePerSco; // odSValSpesePerSco with its VAT
};

// One cost-centre/competence share of a counterpart: a plain record.
struct scControPCDCComp : ImportiIva {
    QString osKey;            // "C" & centre & "D" & competence
    QString osCentroDiCosto;
    QString osCompetenza;
};

// One counterpart account of a VAT key, with its shares.
class scControP : public ImportiIva {
public:
    QString osConto;
    CollezioneChiavi<scControPCDCComp> ocCdcCompetenza;

    const QString &osIndex() const { return osConto; }
    bool obCdcCompEsiste(const QString &psCentroDiCosto, const QString &psCompetenza) const;
    scControPCDCComp &AddCdcComp(const QString &psCentroDiCosto, const QString &psCompetenza);
    scControPCDCComp &ogCdcComp(const QString &psCentroDiCosto, const QString &psCompetenza) const;
};

// One VAT key: the code's data and amounts, its counterparts, and the goods value after each
// step of the lines' cascade discounts.
class scIva : public ImportiIva {
public:
    scIva();

    QString osIva;
    QString osDescrizione;   // TabIva.DescrizioneBreve
    QString osDescrMemo;     // TabIva.DescrMemo
    QString osDescrLunga;    // TabIva.Descrizione
    QString osTipoIva;
    bool obIvaEsente = false;
    Currency odAliquota;     // rate in percent
    bool obForzato = false;  // VAT taken out of an inclusive total differs from the rate's
    Currency odBaseScoPagam;
    Currency odTotScoPagam;
    QString osApplBolloEse;  // "N" keeps the code's taxable out of the stamp-duty threshold
    Currency odIncid;        // share of the taxable total, in percent (three decimals)
    Currency odValIvScorp;
    Currency odSpeseRipart;  // apportioned expenses received
    CollezioneChiavi<scControP> ocCollControPte;
    int16_t oiNumSconti = 0; // highest cascade-discount index recorded
    Currency odSpeseAccRiga;
    bool obIvaBolli = false; // the stamp duty was booked under this code

    const QString &osIndex() const { return osIva; }

    // The amounts of a counterpart (pbConto True; centre and competence ignored) or of one of
    // its shares (pbConto False): the counterpart properties odCPImpon ... odCPSValIvSpesePerSco
    // are the same-named members of the block answered here.
    ImportiIva &ogCP(const QString &psConto, bool pbConto, const QString &psCentroDiCosto,
                     const QString &psCompetenza) const;

    bool obCPEsiste(const QString &psConto) const;
    // The counterpart must exist (5 otherwise).
    bool obCdcCompEsiste(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza) const;
    void CPClear();
    // A counterpart together with its first share.
    scControP &AddControP(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza);
    scControPCDCComp &AddCdcComp(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza);
    scControP &ogControp(const QString &psControP) const;
    scControPCDCComp &ogCdcComp(const QString &psControP, const QString &psCentroDiCosto,
                                const QString &psCompetenza) const;

    // Makes room for the discount indexes up to n: the new indexes copy the last one held
    // (start at 0 on a code without any). A shorter request changes nothing.
    void PrepMerceSco(int16_t piIndSconto);
    // The goods value at the index; odMerce when the code has no index that high.
    double odMerceSco(int16_t piIndSconto) const;
    // Stores the value at an index from 0 to oiNumSconti (9 otherwise).
    void setOdMerceSco(int16_t piIndSconto, double pdImpScontato);

private:
    std::vector<double> mdMerceSco;
};

// The breakdown of one document.
class scIve {
public:
    CollezioneChiavi<scIva> ocCollIva;

    bool obEsiste(const QString &psIva) const;
    void Clear();
    scIva &AddIva(const QString &psIva);
    // The item of the key: its members are the indexed properties of the breakdown.
    scIva &ogIva(const QString &psIva) const { return ocCollIva.Item(psIva); }
    int16_t oiNumSconti(const QString &psIva) const { return ogIva(psIva).oiNumSconti; }
    double odMerceSco(const QString &psIva, int16_t piIndSconto) const { return ogIva(psIva).odMerceSco(piIndSconto); }
    void setOdMerceSco(const QString &psIva, int16_t piIndSconto, double pdImpScontato)
    {
        ogIva(psIva).setOdMerceSco(piIndSconto, pdImpScontato);
    }
    void PrepMerceSco(const QString &psIva, int16_t piIndSconto) { ogIva(psIva).PrepMerceSco(piIndSconto); }
};
