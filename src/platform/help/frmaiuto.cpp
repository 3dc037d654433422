#include "frmaiuto.h"

#include "gestoreaiuto.h"
#include "winpaths.h"

#include <QAbstractTableModel>
#include <QBoxLayout>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

class ModelloElencoAiuto : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void imposta(const ElencoAiuto *elenco, std::vector<int> righe)
    {
        beginResetModel();
        m_elenco = elenco;
        m_righe = std::move(righe);
        endResetModel();
    }
    int riga(int r) const { return r >= 0 && r < static_cast<int>(m_righe.size()) ? m_righe[static_cast<size_t>(r)] : -1; }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() || !m_elenco ? 0 : static_cast<int>(m_righe.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() || !m_elenco ? 0 : static_cast<int>(m_elenco->intestazioni().size());
    }
    QVariant data(const QModelIndex &indice, int ruolo) const override
    {
        if (!indice.isValid() || ruolo != Qt::DisplayRole)
            return {};
        return m_elenco->valore(riga(indice.row()), indice.column());
    }
    QVariant headerData(int sezione, Qt::Orientation orientamento, int ruolo) const override
    {
        if (ruolo != Qt::DisplayRole || orientamento != Qt::Horizontal || !m_elenco)
            return {};
        return m_elenco->intestazioni().value(sezione);
    }

private:
    const ElencoAiuto *m_elenco = nullptr;
    std::vector<int> m_righe;
};

namespace {

QString testoModo(ModoRicerca modo)
{
    switch (modo) {
    case ModoRicerca::Codice: return QStringLiteral("Ricerca per codice (F2)");
    case ModoRicerca::Descrizione: return QStringLiteral("Ricerca per descrizione (F3)");
    case ModoRicerca::Tutto: return QStringLiteral("Ricerca su tutte le colonne (F4)");
    }
    return {};
}

constexpr int kTwipsPerPixel = 15;

} // namespace

FrmAiuto::FrmAiuto(QWidget *parent)
    : QDialog(parent), m_titolo(new QLabel(this)), m_ricerca(new QLineEdit(this)), m_elenco(new QTableView(this)),
      m_immagine(new QLabel(this)), m_modello(new ModelloElencoAiuto(this))
{
    setWindowTitle(QStringLiteral("Aiuto"));
    setObjectName(QStringLiteral("FormAiuto"));
    m_ricerca->setObjectName(QStringLiteral("txtRicerca"));
    m_elenco->setObjectName(QStringLiteral("grdElenco"));
    m_immagine->setObjectName(QStringLiteral("imgArticolo"));
    m_immagine->setAlignment(Qt::AlignCenter);
    m_immagine->hide();

    m_elenco->setModel(m_modello);
    m_elenco->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_elenco->setSelectionMode(QAbstractItemView::SingleSelection);
    m_elenco->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_elenco->verticalHeader()->hide();
    m_elenco->horizontalHeader()->setStretchLastSection(true);
    m_elenco->setFocusPolicy(Qt::NoFocus); // the keys go to the search field, which moves the list

    auto *ok = new QPushButton(QStringLiteral("&Ok"), this);
    auto *annulla = new QPushButton(QStringLiteral("&Annulla"), this);
    ok->setObjectName(QStringLiteral("ComOk"));
    annulla->setObjectName(QStringLiteral("ComAnnulla"));
    ok->setAutoDefault(false);
    annulla->setAutoDefault(false);
    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(ok);
    pulsanti->addWidget(annulla);

    auto *corpo = new QBoxLayout(QBoxLayout::LeftToRight);
    corpo->setObjectName(QStringLiteral("corpo"));
    corpo->addWidget(m_elenco, 1);
    corpo->addWidget(m_immagine);

    auto *principale = new QVBoxLayout(this);
    principale->addWidget(m_titolo);
    principale->addWidget(m_ricerca);
    principale->addLayout(corpo, 1);
    principale->addLayout(pulsanti);

    m_ricerca->installEventFilter(this);
    connect(m_ricerca, &QLineEdit::textEdited, this, [this] { cercaTesto(); });
    connect(m_elenco, &QTableView::doubleClicked, this, [this] { conferma(); });
    connect(ok, &QPushButton::clicked, this, [this] { conferma(); });
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
}

FrmAiuto::~FrmAiuto() = default;

int FrmAiuto::rigaCorrente() const
{
    return m_modello->riga(m_elenco->currentIndex().row());
}

std::optional<int> FrmAiuto::Scegli(const RichiestaRicerca &richiesta)
{
    m_richiesta = &richiesta;
    m_formAttiva = richiesta.formAttiva;
    m_scelta = -1;
    m_titolo->setText(richiesta.titolo);
    m_ricerca->setText(richiesta.testo);
    disponiImmagine(richiesta.immagini);
    impostaModo(richiesta.modo);
    resize(static_cast<int>(640 * odRisVid), static_cast<int>(420 * odRisVid));
    if (m_formAttiva)
        move(m_formAttiva->geometry().center() - rect().center());
    m_ricerca->setFocus();

    exec();

    m_richiesta = nullptr;
    m_formAttiva = nullptr;
    m_modello->imposta(nullptr, {});
    if (m_scelta < 0)
        return std::nullopt;
    return m_scelta;
}

void FrmAiuto::ButtonComando(const QString &pulsante)
{
    if (pulsante.compare(QLatin1String("Aggiorna"), Qt::CaseInsensitive) != 0 || !m_richiesta)
        return;
    if (m_richiesta->ricarica)
        m_richiesta->ricarica();
    cercaTesto();
}

void FrmAiuto::impostaModo(ModoRicerca modo)
{
    m_modo = modo;
    m_titolo->setText((m_richiesta ? m_richiesta->titolo + QStringLiteral(" - ") : QString()) + testoModo(modo));
    cercaTesto();
}

void FrmAiuto::cercaTesto()
{
    if (!m_richiesta || !m_richiesta->elenco)
        return;
    const ElencoAiuto &elenco = *m_richiesta->elenco;
    m_modello->imposta(&elenco, elenco.cerca(m_ricerca->text(), m_modo));
    if (m_modello->rowCount() > 0)
        m_elenco->setCurrentIndex(m_modello->index(0, 0));
    mostraImmagine();
}

void FrmAiuto::disponiImmagine(const ImmaginiAiuto &immagini)
{
    m_immagine->setVisible(immagini.mostra);
    if (!immagini.mostra)
        return;
    auto *corpo = findChild<QBoxLayout *>(QStringLiteral("corpo"));
    const bool verticale = immagini.dove == QLatin1String("A") || immagini.dove == QLatin1String("B");
    const bool prima = immagini.dove == QLatin1String("A") || immagini.dove == QLatin1String("S");
    if (corpo) {
        corpo->setDirection(verticale ? (prima ? QBoxLayout::BottomToTop : QBoxLayout::TopToBottom)
                                      : (prima ? QBoxLayout::RightToLeft : QBoxLayout::LeftToRight));
    }
    const int spazio = std::max(0, immagini.spazio / kTwipsPerPixel);
    if (verticale) {
        m_immagine->setFixedHeight(spazio);
        m_immagine->setMaximumWidth(immagini.rapporto > 0 ? static_cast<int>(spazio / immagini.rapporto) : QWIDGETSIZE_MAX);
    } else {
        m_immagine->setFixedWidth(spazio);
        m_immagine->setMaximumHeight(immagini.rapporto > 0 ? static_cast<int>(spazio * immagini.rapporto) : QWIDGETSIZE_MAX);
    }
}

void FrmAiuto::mostraImmagine()
{
    if (!m_richiesta || !m_richiesta->immagini.mostra)
        return;
    const int r = rigaCorrente();
    const QString nome = r >= 0 ? m_richiesta->elenco->immagine(r).trimmed() : QString();
    QPixmap immagine;
    if (!nome.isEmpty())
        immagine.load(QDir(mapWindowsPath(m_richiesta->immagini.cartella)).filePath(mapWindowsPath(nome)));
    if (!immagine.isNull() && !m_richiesta->immagini.dimReali)
        immagine = immagine.scaled(m_immagine->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_immagine->setPixmap(immagine);
}

void FrmAiuto::conferma()
{
    m_scelta = rigaCorrente();
    if (m_scelta >= 0)
        accept();
}

bool FrmAiuto::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto != m_ricerca || evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(oggetto, evento);
    const auto *tasto = static_cast<QKeyEvent *>(evento);
    const int righe = m_modello->rowCount();
    const int corrente = m_elenco->currentIndex().row();
    const int pagina = std::max(1, m_elenco->viewport()->height() / std::max(1, m_elenco->rowHeight(0)));
    auto vaiA = [&](int r) {
        if (righe > 0)
            m_elenco->setCurrentIndex(m_modello->index(std::clamp(r, 0, righe - 1), 0));
        mostraImmagine();
        return true;
    };
    switch (tasto->key()) {
    case Qt::Key_Up: return vaiA(corrente - 1);
    case Qt::Key_Down: return vaiA(corrente + 1);
    case Qt::Key_PageUp: return vaiA(corrente - pagina);
    case Qt::Key_PageDown: return vaiA(corrente + pagina);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        conferma();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_F2: impostaModo(ModoRicerca::Codice); return true;
    case Qt::Key_F3: impostaModo(ModoRicerca::Descrizione); return true;
    case Qt::Key_F4: impostaModo(ModoRicerca::Tutto); return true;
    default: return QDialog::eventFilter(oggetto, evento);
    }
}

void InstallaFinestraAiuto(GestoreAiuto &aiuto)
{
    aiuto.ImpostaFinestra(std::make_unique<FrmAiuto>());
}
