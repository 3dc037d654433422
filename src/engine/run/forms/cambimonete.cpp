// The rates of the currencies of an automatic request (CaricaCambiRichiesta), confirmed or
// corrected by the user in the form "Cambi".
#include "frmevasord.h"

#include "cambirichiesta.h"
#include "frminpcambi.h"
#include "mostraform.h"
#include "scevaordven.h"

#include <QCheckBox>

bool frmEvasOrd::ChiediCambiMonete()
{
    scEvaOrdVen &eva = *mgEvaOrd;
    CaricaCambiRichiesta(eva);
    VettoreChiavi &cambi = eva.ogCambi();
    if (cambi.Conta() == 0)
        return true;

    FrmInpCambi form(this);
    form.osKeySec = osKeySec;
    form.ogCambi = &cambi;
    form.Form_Load();
    form.CheAggTutti->hide();
    UtilGenerali::MostraForm(&form, -1, 1, false);
    return form.Confermato();
}
