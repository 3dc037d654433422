#include "tasti.h"

#include <QApplication>
#include <QChildEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

TastiForm::~TastiForm() = default;

namespace {

const char *const kProprieta = "KeyPreview";
const char *const kNomeFiltro = "AnteprimaTasti";

// Sees the keys of the form's widgets before they do. Each key is handled once, on the widget
// that has the focus (the key then travels up to the containers, which are passed over).
class AnteprimaTasti : public QObject {
public:
    explicit AnteprimaTasti(QWidget *form) : QObject(form), m_form(form)
    {
        setObjectName(QString::fromLatin1(kNomeFiltro));
        copri(form);
    }

    void copri(QWidget *w)
    {
        w->installEventFilter(this);
        for (QWidget *figlio : w->findChildren<QWidget *>())
            figlio->installEventFilter(this);
    }
    void scopri()
    {
        m_form->removeEventFilter(this);
        for (QWidget *figlio : m_form->findChildren<QWidget *>())
            figlio->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() == QEvent::ChildAdded) {
            if (auto *w = qobject_cast<QWidget *>(static_cast<QChildEvent *>(evento)->child()))
                copri(w);
            return false;
        }
        if (evento->type() != QEvent::KeyPress || m_iniettando)
            return false;
        auto *w = qobject_cast<QWidget *>(oggetto);
        QWidget *fuoco = QApplication::focusWidget();
        if (!w || (fuoco ? w != fuoco : w != m_form))
            return false;
        auto *form = dynamic_cast<TastiForm *>(m_form.data());
        if (!form)
            return false;
        const auto *tasto = static_cast<QKeyEvent *>(evento);

        int16_t codice = KeyCodeVb(*tasto);
        if (codice != 0) {
            form->Form_KeyDown(codice, ShiftVb(tasto->modifiers()));
            if (codice == 0)
                return true;
        }
        int16_t carattere = carattereDi(*tasto);
        if (carattere == 0)
            return false;
        const int16_t prima = carattere;
        form->Form_KeyPress(carattere);
        if (carattere == prima)
            return false;
        if (carattere != 0) {
            const QString testo(QChar(static_cast<char16_t>(carattere)));
            QKeyEvent sostituto(QEvent::KeyPress, 0, tasto->modifiers() & ~Qt::KeypadModifier, testo);
            m_iniettando = true;
            QCoreApplication::sendEvent(w, &sostituto);
            m_iniettando = false;
        }
        return true;
    }

private:
    static int16_t carattereDi(const QKeyEvent &tasto)
    {
        if (tasto.key() == Qt::Key_Return || tasto.key() == Qt::Key_Enter)
            return 13;
        if (tasto.key() == Qt::Key_Escape)
            return 27;
        const QString t = tasto.text();
        return t.size() == 1 ? static_cast<int16_t>(t.at(0).unicode()) : int16_t(0);
    }

    QPointer<QWidget> m_form;
    bool m_iniettando = false;
};

} // namespace

void ImpostaKeyPreview(QWidget *form, bool attivo)
{
    auto *esistente =
        dynamic_cast<AnteprimaTasti *>(form->findChild<QObject *>(QString::fromLatin1(kNomeFiltro), Qt::FindDirectChildrenOnly));
    if (attivo && !esistente)
        new AnteprimaTasti(form);
    else if (!attivo && esistente) {
        esistente->scopri();
        delete esistente;
    }
    form->setProperty(kProprieta, attivo);
}

bool KeyPreview(const QWidget *form)
{
    return form->property(kProprieta).toBool();
}
