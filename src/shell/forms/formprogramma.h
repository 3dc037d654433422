#pragma once
// The program's own windows as the shell opens them by name: each is a QWidget that also
// carries the members the shell hands over and the methods it calls. The fulfilment dialog
// registers itself under its name; the shell creates it on first activation and loads it
// into the forms collection.
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class FormProgramma {
public:
    virtual ~FormProgramma() = default;

    // The window's own secondary key, and the keys and parameter of the program that
    // launched it (used when it closes to return there); the launch request's switch text.
    QString osKeySec;
    QString osKeyLancia;
    QString osKeySecLancia;
    QString osParamLancia;
    QString osParam;

    // -1 while the load runs or after it failed, 1 after a complete load.
    virtual int16_t oiLoadOk() const = 0;
    // The load, run when the shell loads the form.
    virtual void Form_Load() = 0;
    // Tells the menu server that this window can be switched to.
    virtual void PassaA() = 0;
    // Called when another program brings the window forward; false when the form has no
    // such member (the call is then passed over).
    virtual bool AttivatoDaAltri() { return false; }
};

// The program form of a loaded window (nullptr for other windows).
FormProgramma *formProgramma(QWidget *form);

using FabbricaForm = std::function<std::unique_ptr<QWidget>()>;
// Registers the window the shell opens under the name (letter case ignored).
void RegistraFormProgramma(const QString &nome, FabbricaForm fabbrica);
// A new window of the name, nullptr when none is registered.
std::unique_ptr<QWidget> CreaFormProgramma(const QString &nome);
