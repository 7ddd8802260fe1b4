#include "skin/style_apply.h"

#include <QPointer>
#include <QWidget>

#include "skin/system_colors.h"

namespace kavri {
namespace {

const TSkinFormStyleSource* FindFormStyleSource(const QWidget* form) {
  if (!form) return nullptr;
  for (const QObject* child : form->children()) {
    if (!child->isWidgetType()) continue;
    if (auto* source = dynamic_cast<const TSkinFormStyleSource*>(child)) return source;
  }
  return nullptr;
}

// A hook may restyle, reparent or delete widgets; walk a snapshot and skip children that went away.
template <typename Fn>
void ForEachSkinnedChild(QWidget* container, Fn fn) {
  if (!container) return;
  std::vector<QPointer<QWidget>> children;
  for (QObject* child : container->children())
    if (child->isWidgetType()) children.emplace_back(static_cast<QWidget*>(child));
  for (const QPointer<QWidget>& child : children) {
    if (!child || child->parentWidget() != container) continue;
    if (auto* hooks = dynamic_cast<TSkinStyleHooks*>(child.data())) fn(*hooks);
  }
}

}  // namespace

QWidget* OwnerForm(QWidget* parent) { return parent ? parent->window() : nullptr; }

TSkinUIStyle GetSkinFormStyle(const QWidget* form) {
  const TSkinFormStyleSource* source = FindFormStyleSource(form);
  return source ? source->FormUIStyle() : TSkinUIStyle::Navy;
}

TColor GetSkinFormColor(const QWidget* form) {
  const TSkinFormStyleSource* source = FindFormStyleSource(form);
  return source ? source->FormColor() : clBtnFace;
}

TColor GetBorderColor(const QWidget* form) {
  const TSkinFormStyleSource* source = FindFormStyleSource(form);
  return source ? GetThemeColor(source->FormUIStyle(), 8) : 0;
}

void ContainerApplyUIStyle(QWidget* container, TSkinUIStyle style) {
  ForEachSkinnedChild(container, [style](TSkinStyleHooks& hooks) { hooks.ApplyContainerStyle(style); });
}

void SubContainerApplyUIStyle(QWidget* container, TSkinUIStyle style) {
  ForEachSkinnedChild(container, [style](TSkinStyleHooks& hooks) { hooks.ApplySubContainerStyle(style); });
}

}  // namespace kavri
