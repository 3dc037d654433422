#pragma once
// The two readers through which every part of the program asks the menu server for its
// parameters: the company's menu parameters by key, and the user's personal parameters by
// section and name.
#include "variant.h"

#include <QString>
#include <memory>
#include <optional>

class MenuClient;

// The menu server's answer for a personal key it does not hold.
QString marcatoreParamAssente();

// The menu parameter as the server answers it, unchanged (Empty when the server does not hold
// it; callers test emptiness themselves).
Variant LeggiParamMenu(const QString &nome);

// The personal parameter "Personal." & section & ".§" & name. When the server answers the
// marker and both fallback arguments are given, the fallback key is asked instead. `grezzo`,
// when given, receives the answer as it came (marker included). An answer equal to the marker
// (ignoring case) gives the default when one is given, otherwise the marker itself; any other
// answer, the empty text included, is returned as it is.
Variant LeggiParamPers(const QString &sezione, const QString &nome,
                       const std::optional<Variant> &predefinito = std::nullopt, Variant *grezzo = nullptr,
                       const std::optional<Variant> &sezioneAlt = std::nullopt,
                       const std::optional<Variant> &nomeAlt = std::nullopt);

// Held by a run for its whole length. Menu and personal parameters do not change under a run:
// each is asked of the menu server once and kept until the run ends, so that a run started
// later sees a parameter changed in between. Outside a run every read goes to the server.
class ParametriDelRun {
public:
    ParametriDelRun();
    ~ParametriDelRun();
    ParametriDelRun(const ParametriDelRun &) = delete;
    ParametriDelRun &operator=(const ParametriDelRun &) = delete;

private:
    std::shared_ptr<MenuClient> m_client;
};
