#pragma once

#include <QProxyStyle>

namespace dyno {

// The application's style: the platform's own, except that the icons of the
// overflow buttons of menu and tool bars are read when first drawn. Qt asks
// for them when it makes each bar, and reading one loads every image-format
// plugin (gif, ico, jpeg with its library...), which start-up need not wait
// for: the buttons show only when a bar is too narrow for its items.
class DeferredIconStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override;
};

}  // namespace dyno
