#pragma once
// The compiled help files of the suite (".chm") and the viewer that shows them. The program
// asks for a file's contents, its index or the topic of a context id, as the Windows help
// viewer is asked; on this platform the request goes to a ".chm" viewer found on the machine
// (or to the desktop's opener). The viewer's own failures are not reported to the program.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

namespace ComandoAiuto {
inline constexpr uint32_t Sommario = 1;  // the contents (HH_DISPLAY_TOC)
inline constexpr uint32_t Indice = 2;    // the index, with a keyword (HH_DISPLAY_INDEX)
inline constexpr uint32_t Contesto = 15; // the topic of a context id (HH_HELP_CONTEXT)
} // namespace ComandoAiuto

// One request as the help viewer receives it: the window asking, the file text (the path,
// optionally "::/" and a topic, optionally ">" and a viewer window name), the command and its
// argument: a number (0, or the context id) or the keyword buffer (ANSI bytes ending in 0).
struct RichiestaAiuto {
    quintptr finestra = 0;
    QString file;
    uint32_t comando = 0;
    std::variant<int32_t, QByteArray> dato = int32_t{0};

    // The file text taken apart.
    QString percorso() const;      // up to "::/" or ">"
    QString argomento() const;     // after "::/", up to ">"
    QString nomeFinestra() const;  // after ">"
    int32_t numero() const;        // the numeric argument (0 with a buffer)
    QString parolaChiave() const;  // the buffer's text up to its 0 ("" with a number)
};

class VisualizzatoreAiuto {
public:
    virtual ~VisualizzatoreAiuto() = default;
    virtual void HtmlHelp(const RichiestaAiuto &richiesta) = 0;
};

// The installed viewer (the system's until a test installs its own).
VisualizzatoreAiuto &visualizzatoreAiuto();
// Installs a viewer; returns the previous one. An empty pointer puts the system's back.
std::unique_ptr<VisualizzatoreAiuto> impostaVisualizzatoreAiuto(std::unique_ptr<VisualizzatoreAiuto> v);

// The call as the program makes it.
void HtmlHelpA(quintptr finestra, const QString &file, uint32_t comando, std::variant<int32_t, QByteArray> dato);

// The system's viewer: the first of the known ".chm" viewers found on the PATH, started apart
// from the program; without one, the desktop's opener for the file; without that, nothing.
// The Windows viewer shows one file in one window, so the contents asked just before a topic
// of the same file only open that topic: a request waits for the event loop's next turn and
// is replaced by a topic request of the same file arriving meanwhile.
class VisualizzatoreAiutoSistema final : public VisualizzatoreAiuto {
public:
    // `trova` finds a program by name (an empty text when absent); by default the PATH.
    explicit VisualizzatoreAiutoSistema(std::function<QString(const QString &)> trova = {},
                                        std::function<bool(const QString &, const QStringList &)> avvia = {});
    void HtmlHelp(const RichiestaAiuto &richiesta) override;

    // The viewers known, in the order they are looked for.
    static QStringList programmiNoti();
    // The arguments a viewer gets for a request.
    static QStringList argomenti(const QString &programma, const RichiestaAiuto &richiesta);

    // Starts the waiting request now (the event loop does it otherwise).
    void avviaInAttesa();

private:
    void avvia(const RichiestaAiuto &richiesta);

    std::function<QString(const QString &)> m_trova;
    std::function<bool(const QString &, const QStringList &)> m_avvia;
    std::optional<RichiestaAiuto> m_inAttesa;
    QObject m_contesto; // ends the waiting turn with the viewer
};
