#pragma once
// Why a document charge could not be written: the error's number (0 when all went well) and
// description, for the caller's error list.
#include <QString>
#include <cstdint>

struct ErroreAddebito {
    int32_t numero = 0;
    QString descrizione;
    explicit operator bool() const { return numero != 0; }
};
