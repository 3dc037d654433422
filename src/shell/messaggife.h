#pragma once
// The notices of the menu server's e-invoice words. Their parameter is an array of which
// elements 2 (the outcome, 0 for success), 3 and 6 are read. A parameter that is not such an
// array, or whose elements do not read as the numbers they must be, shows nothing.
#include "variant.h"

#include <QString>
#include <optional>

// "FEInvio": how many invoices were sent ("Inviate 1.234 fatture", then the errors when
// element 3 holds them), or the sending error.
std::optional<QString> testoFEInvio(const Variant &param);
// "FEAttesa": how many invoices wait ("Ci sono 3 fatture in attesa"; nothing when none, or
// when element 3 is no number), or the request's error.
std::optional<QString> testoFEAttesa(const Variant &param);
