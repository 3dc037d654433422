#include "eventiaiuto.h"

#include "avvio.h"
#include "gestoreaiuto.h"
#include "guard.h"
#include "menucomandi.h"

scEventiAiuto::scEventiAiuto() : m_gestore(std::make_unique<GestoreAiuto>())
{
    m_aiuto = m_gestore->AiutoCondiviso();
    GestoreAiuto *a = m_aiuto.get();
    connect(a, &GestoreAiuto::ClsMainMenuFrm, this, [this] { guarded("scEventiAiuto::ClsMainMenuFrm", [&] { ClsMainMenuFrm(); }); });
    connect(a, &GestoreAiuto::ClsPrepDecod, this,
            [this](const QString &id, const QString &keyBase, const QString &campo, const Variant &valore,
                   const Variant &soloDecod, const Variant &sqlNoFiltro, Variant &ritorno) {
                guarded("scEventiAiuto::ClsPrepDecod",
                        [&] { ClsPrepDecod(id, keyBase, campo, valore, soloDecod, sqlNoFiltro, ritorno); });
            },
            Qt::DirectConnection);
    connect(a, &GestoreAiuto::LanciaKeyPrim, this, &scEventiAiuto::LanciaKeyPrim);
    connect(a, &GestoreAiuto::LanciaKeySec, this, &scEventiAiuto::LanciaKeySec);
}

scEventiAiuto::~scEventiAiuto() = default;

void scEventiAiuto::ClsMainMenuFrm()
{
    TornaAlMenuPrg();
}

void scEventiAiuto::ClsPrepDecod(const QString &, const QString &psKeyBase, const QString &psCampo,
                                 const Variant &pvValore, const Variant &pvSoloDecod, const Variant &pvSqlNoFiltro,
                                 Variant &pvRitorno)
{
    pvRitorno = PrepDecodPrg(psKeyBase, psCampo, pvValore, pvSoloDecod, pvSqlNoFiltro);
}

void scEventiAiuto::LanciaKeyPrim(const QString &psLanciaKeyPrim)
{
    gsKeyPrgPrim = psLanciaKeyPrim;
}

void scEventiAiuto::LanciaKeySec(const QString &psLanciaKeySec)
{
    gsKeyPrgSec = psLanciaKeySec;
}
