#pragma once

// Makes the typefaces the windows are drawn in available: Tahoma from the Wine fonts when
// fontconfig does not list it (its bold made from the regular face), with Liberation Sans
// standing in for Arial.
void RegisterApplicationFonts();
