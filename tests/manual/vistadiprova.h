#pragma once
// The picking form's window answered by a test: every call recorded in order ("Chiudi",
// "Imposta_Griglia_Corpo", ...), the shown texts kept, the rate box answered from `cambio`.
#include "vistaevamanu.h"

#include <QStringList>
#include <functional>

class VistaDiProva : public VistaEvaManu {
public:
    void MostraCliente(const QString &testo) override
    {
        cliente = testo;
        chiamate << QStringLiteral("MostraCliente");
    }
    void MostraCambio(bool visibile, const QString &didascalia, const QString &testo, const QString &data) override
    {
        cambioVisibile = visibile;
        didascaliaCambio = didascalia;
        cambio = testo;
        dataCambio = data;
        chiamate << QStringLiteral("MostraCambio");
    }
    QString TestoCambio() const override { return cambio; }
    void PreparaCampoCambio() override { chiamate << QStringLiteral("PreparaCampoCambio"); }
    void MostraPulsLiv(bool visibile, const QString &didascalia) override
    {
        pulsLivVisibile = visibile;
        didascaliaLivelli = didascalia;
    }
    void AbilitaPulsanti(bool abilitati) override
    {
        pulsantiAbilitati = abilitati;
        chiamate << (abilitati ? QStringLiteral("Abilita") : QStringLiteral("Disabilita"));
    }
    void Imposta_Griglia_Testa() override { chiamate << QStringLiteral("Imposta_Griglia_Testa"); }
    void Imposta_Griglia_Corpo() override
    {
        chiamate << QStringLiteral("Imposta_Griglia_Corpo");
        if (allaGrigliaCorpo)
            allaGrigliaCorpo();
    }
    void Imposta_Griglia_Spese() override { chiamate << QStringLiteral("Imposta_Griglia_Spese"); }
    void SalvaModifichePendenti() override { chiamate << QStringLiteral("SalvaModifichePendenti"); }
    void ElaboraEventi() override
    {
        if (agliEventi)
            agliEventi();
    }
    void ImpostaQtaDaEvaRigaCorrente(double qta) override
    {
        qtaDaEva = qta;
        chiamate << QStringLiteral("ImpostaQtaDaEvaRigaCorrente");
    }
    void Mostra() override
    {
        mostrata = true;
        chiamate << QStringLiteral("Mostra");
    }
    void FuocoSulPrimoOrdine() override { ++fuocoSulPrimoOrdine; }
    void Chiudi() override
    {
        chiusa = true;
        chiamate << QStringLiteral("Chiudi");
        if (allaChiusura)
            allaChiusura();
    }

    QStringList chiamate;
    QString cliente, didascaliaCambio, cambio, dataCambio, didascaliaLivelli;
    double qtaDaEva = -1;
    int fuocoSulPrimoOrdine = 0;
    bool cambioVisibile = false, pulsLivVisibile = false, pulsantiAbilitati = true, mostrata = false, chiusa = false;
    // What the form does besides: its unload on closing, a second click while events run.
    std::function<void()> allaChiusura, agliEventi, allaGrigliaCorpo;
};
