#pragma once
// The events of the help/lookup component. The program's receiver connects to them directly
// (the answer of ClsPrepDecod is read back when the signal returns).
#include "variant.h"

#include <QObject>
#include <QString>

class EventiAiuto : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~EventiAiuto() override;

signals:
    // The user asked for the main menu from the lookup window.
    void ClsMainMenuFrm();
    // A decode is about to be made: the program may prepare it; its answer goes in pvRitorno.
    void ClsPrepDecod(const QString &psId, const QString &psKeyBase, const QString &psCampo, const Variant &pvValore,
                      const Variant &pvSoloDecod, const Variant &pvSqlNoFiltro, Variant &pvRitorno);
    // Keys handed over for a program that the component launches.
    void LanciaKeyPrim(const QString &psLanciaKeyPrim);
    void LanciaKeySec(const QString &psLanciaKeySec);
};
