#include "evamanuprova.h"

void EvaManuProva::SetUp()
{
    EvasioneDiProva::SetUp();
    if (IsSkipped())
        return;
    eva.obEvasManule = true;
}

void EvaManuProva::TearDown()
{
    if (controllo)
        controllo->Form_Unload();
    controllo.reset();
    EvasioneDiProva::TearDown();
}

ControlloEvaManu &EvaManuProva::nuovoControllo()
{
    if (controllo)
        controllo->Form_Unload();
    controllo = std::make_unique<ControlloEvaManu>(finestra);
    // The engine belongs to the test, as it belongs to the fulfilment dialog in the program.
    controllo->ogEvaOrd = std::shared_ptr<scEvaOrdVen>(&eva, [](scEvaOrdVen *) {});
    controllo->Form_Load();
    finestra.allaChiusura = [this] { controllo->Form_Unload(); };
    return *controllo;
}
