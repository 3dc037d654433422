#include "servermenuesterno.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <stdexcept>

namespace {

[[noreturn]] void fallisce(const QString &perche)
{
    throw std::runtime_error(perche.toStdString());
}

// A text as the configuration file reads it back.
QString valore(const QString &chiave, const Variant &v)
{
    const auto t = v.stringIf();
    if (!t)
        fallisce(QStringLiteral("parametro non di testo: ") + chiave);
    return t->startsWith(u'@') ? u'@' + *t : *t;
}

} // namespace

ServerMenuEsterno::ServerMenuEsterno(const MenuConfig &config, const QString &cartella)
    : m_giornale(QDir(cartella).filePath(QStringLiteral("giornale.txt")))
{
    const QString percorso = QDir(cartella).filePath(QStringLiteral("servermenu.ini"));
    QString testo;
    QTextStream out(&testo);
    out << "[Server]\nUtente=" << config.utente << "\nDataLavoro=" << config.dataLavoro.toString()
        << "\nGiornale=" << m_giornale << "\n\n[ParametriMenu]\n";
    const QString personale = QStringLiteral("Personal.");
    for (const auto &[chiave, v] : config.parametri) {
        if (chiave.startsWith(personale))
            fallisce(QStringLiteral("parametro personale non previsto: ") + chiave);
        out << chiave << "=" << valore(chiave, v) << "\n";
    }
    out.flush();
    QFile f(percorso);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(testo.toUtf8()) < 0)
        fallisce(QStringLiteral("configurazione non scritta: ") + percorso);
    f.close();

    m_processo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_processo.start(QStringLiteral(SERVERMENU_PROG), {percorso, QStringLiteral("--senza-programma")});
    const QByteArray inAscolto = "Server menu in ascolto su ";
    while (m_socket.isEmpty()) {
        if (!m_processo.canReadLine() && !m_processo.waitForReadyRead(10000))
            fallisce(QStringLiteral("il server menu non parte: ") + QString::fromUtf8(m_processo.readAll()));
        while (m_processo.canReadLine()) {
            const QByteArray riga = m_processo.readLine().trimmed();
            if (riga.startsWith(inAscolto))
                m_socket = QString::fromUtf8(riga.mid(inAscolto.size()));
        }
    }
}

ServerMenuEsterno::~ServerMenuEsterno()
{
    m_processo.write("esci\n");
    m_processo.closeWriteChannel();
    if (!m_processo.waitForFinished(5000)) {
        m_processo.kill();
        m_processo.waitForFinished(2000);
    }
}

long long ServerMenuEsterno::chiamate() const
{
    QFile f(m_giornale);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    long long n = 0;
    while (!f.atEnd())
        n += f.readLine().startsWith("chiamata ");
    return n;
}
