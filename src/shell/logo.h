#pragma once

#include <QPixmap>
#include <QSize>

// The maker's logo, drawn rather than stored: a stylised sun over the maker's name.
QPixmap drawMakerLogo(QSize size);
