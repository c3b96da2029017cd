#pragma once

#include <QString>

#include <cstdint>

// Texts of a driver card.

// An IA5String (ASCII) of `size` bytes, trimmed of spaces and fill bytes.
QString Ia5Text(const std::uint8_t* bytes, int size);

// A Name or a VehicleRegistrationNumber: a code page byte (the part of ISO/IEC 8859, 1 Latin-1
// and 2 Latin-2 among them), then `size` - 1 bytes of text, trimmed. Bytes of a code page not
// known here are kept only where they are ASCII.
QString CardNameText(const std::uint8_t* bytes, int size);
