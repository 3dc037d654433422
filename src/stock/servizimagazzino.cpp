#include "servizimagazzino.h"

#include "quotaspese.h"
#include "totalirighemov.h"
#include "valoriscarico.h"

namespace {

ServiziMagazzino completi(ServiziMagazzino s)
{
    if (!s.CalcolaQuotaSpese)
        s.CalcolaQuotaSpese = CalcolaQuotaSpese;
    if (!s.TotaliRigheMov)
        s.TotaliRigheMov = TotaliRigheMov;
    if (!s.AggValoriScarico)
        s.AggValoriScarico = AggValoriScarico;
    if (!s.PostaRiga)
        s.PostaRiga = AggiornaRigaMov;
    return s;
}

ServiziMagazzino &installati()
{
    static ServiziMagazzino servizi = completi({});
    return servizi;
}

} // namespace

const ServiziMagazzino &serviziMagazzino()
{
    return installati();
}

ServiziMagazzino impostaServiziMagazzino(ServiziMagazzino servizi)
{
    ServiziMagazzino precedenti = installati();
    installati() = completi(std::move(servizi));
    return precedenti;
}
