#include "servizimagazzino.h"

#include "apperror.h"

namespace {

[[noreturn]] void nonDisponibile(const char *nome)
{
    throw AppError(ErrNum::InvalidCall,
                   QStringLiteral("Servizio di magazzino non disponibile: %1").arg(QLatin1String(nome)),
                   QStringLiteral("Magazzino"));
}

ServiziMagazzino completi(ServiziMagazzino s)
{
    if (!s.CalcolaQuotaSpese)
        s.CalcolaQuotaSpese = [](const QString &, double, double, const QString &, double, double, double) -> double {
            nonDisponibile("CalcolaQuotaSpese");
        };
    if (!s.TotaliRigheMov)
        s.TotaliRigheMov = [](const QString &, int16_t, int32_t, const QString &) -> Variant {
            nonDisponibile("TotaliRigheMov");
        };
    if (!s.AggValoriScarico)
        s.AggValoriScarico = [](AvanzamentoElab &, int16_t, int32_t, const QString &, const QString &) {
            nonDisponibile("AggValoriScarico");
        };
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
