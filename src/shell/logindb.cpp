#include "logindb.h"

#include "connessionedb.h"
#include "dialoghi.h"
#include "errori.h"
#include "formeconnessione.h"
#include "parametri.h"
#include "utilgenerali.h"

namespace {

int chiedi(const QString &testo, const QString &pulsante1, const Variant &pulsante2 = {})
{
    return frmMsgCom::msgCom(testo, pulsante1, pulsante2, {}, {}, 80, false, 600, {}, 1, {}, false);
}

} // namespace

QString LoginDbSql(RifOggetto<ConnessioneDb> &conn, const QString &nomeDb, const QString &password,
                   const QString &connetti)
{
    QString risultato;
    if (!conn)
        conn = std::make_shared<ConnessioneDb>();
    const FormaConnessione forma = formaConnessione(nomeDb);
    const bool sorgenteOdbc = forma == FormaConnessione::FileDsn || forma == FormaConnessione::NomeDsn;
    if (sorgenteOdbc) {
        if (UtilGenerali::Vuoto(conn->Impostazione(QStringLiteral("DbSqlPubPWD"), 12))) {
            conn->Impostazione(QStringLiteral("DbSqlPubUID"), 12, LeggiParamMenu(QStringLiteral("SqlLogin")));
            conn->Impostazione(QStringLiteral("DbSqlPubPWD"), 12, LeggiParamMenu(QStringLiteral("SqlPwd")));
        }
    } else {
        conn->Impostazione(QStringLiteral("DbAccPWD"), 12, Variant(password));
    }

    for (;;) {
        try {
            if (connetti.trimmed().isEmpty())
                risultato = conn->Connetti(nomeDb, 0, false, false);
            else
                risultato = conn->Connetti(nomeDb, 0, false, false, connetti);
            return risultato;
        } catch (const AppError &e) {
            const int32_t numero = UtilGenerali::NumeroErrore(e);
            if (numero == ErrDb::NonDatabase)
                throw;
            if (numero == ErrDb::AccessoNegato && sorgenteOdbc) {
                if (chiedi(QStringLiteral("Utente o password non validi per SQL"), QStringLiteral("&Riprovare"),
                           Variant("&Annulla")) == 1)
                    continue;
                return risultato;
            }
            risultato = QStringLiteral("Err: ") + QString::number(numero);
            if (numero == ErrDb::PasswordNonValida)
                chiedi(QStringLiteral("Password non valida per questo database"), QStringLiteral("&Ok"));
            else
                frmMsgCom::MsgErrfrm(e);
            return risultato;
        }
    }
}
