// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QSize>

inline constexpr QSize LogoSize(188, 60);

// The picture at the left of the dark panel under the project tree, drawn rather than shipped.
QPixmap mainWindowLogo();
