#include "righeapp.h"

#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "testoerrore.h"
#include "transazioni.h"
#include "utilgenerali.h"

#include <QRegularExpression>

namespace {

QString condizioneMovimento(int16_t anno, int32_t numReg)
{
    return QStringLiteral(" Where Anno = ") + UtilGenerali::SqlValore(Variant(anno), 2) +
           QStringLiteral(" AND NumReg = ") + UtilGenerali::SqlValore(Variant(numReg), 3);
}

bool nomeTabella(const QString &nome)
{
    static const QRegularExpression identificatore(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identificatore.match(nome).hasMatch();
}

} // namespace

void CancellaRigheApp(int16_t piAnnoRegMov, int32_t plNumRegMov, const std::optional<QString> &pvTabella1,
                      const std::optional<QString> &pvTabella2, const std::optional<int32_t> &pvRigLiv,
                      const std::optional<QString> &pvTabella3, const std::optional<QString> &pvTabella4, bool pbForza)
{
    struct Tabella {
        const std::optional<QString> &nome;
        bool perRiga;
    };
    const Tabella tabelle[] = {{pvTabella2, true}, {pvTabella1, false}, {pvTabella3, true}, {pvTabella4, true}};
    for (const Tabella &t : tabelle) {
        if (!t.nome)
            continue;
        const QString &nome = *t.nome;
        if (!nomeTabella(nome) || (!pbForza && !nome.right(3).toLower().endsWith(QLatin1String("app")))) {
            dialoghi().MsgBox(QStringLiteral("Nome File non valido"), PulsantiMsg::Ok, IconaMsg::Nessuna, QString());
            return;
        }
        QString sql = QStringLiteral("Delete from ") + nome + condizioneMovimento(piAnnoRegMov, plNumRegMov);
        if (t.perRiga && pvRigLiv)
            sql += QStringLiteral(" AND RigLiv = ") + UtilGenerali::SqlValore(Variant(*pvRigLiv), 3);
        ggDbAzienda->Esegui(gsNomeConn, sql);
    }
}

int16_t CopiaRigheApp(int16_t piAnnoRegMov, int32_t plNumRegMov, const QString &psTabApp, const QString &psTabella)
{
    const QString condizione = condizioneMovimento(piAnnoRegMov, plNumRegMov);
    bool inTransazione = false;
    try {
        if (!nomeTabella(psTabApp) || !nomeTabella(psTabella))
            throw AppError(ErrNum::InvalidCall, QStringLiteral("Nome File non valido"));
        {
            GestRecordset rs;
            const QString app =
                rs.Apri(*ggDbAzienda, gsNomeConn, QString(), QStringLiteral("Select * from ") + psTabApp + condizione,
                        false, dbOpenSnapshot);
            if (rs.NessunRecord(app))
                return 0;
            IniziaTransazione();
            inTransazione = true;
            const QString tab =
                rs.Apri(*ggDbAzienda, gsNomeConn, QString(), QStringLiteral("Select * from ") + psTabella + condizione,
                        false, dbOpenDynaset);
            while (!rs.Eof(tab)) {
                rs.Delete(tab);
                rs.MoveFirst(tab);
            }
            if (rs.CopiaDaRecord(app, tab, true, true, true) != 0)
                throw AppError(ErrNum::InvalidCall,
                               QStringLiteral("Copia delle righe in %1 non riuscita").arg(psTabella));
        }
        ConfermaTransazione();
        return 0;
    } catch (const AppError &e) {
        if (inTransazione) {
            try {
                AnnullaTransazione();
            } catch (...) {
            }
        }
        TestoErrore(e);
        return 1;
    }
}
