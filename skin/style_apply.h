#pragma once
#include "platform/tcolor.h"
#include "skin/theme_style.h"

class QWidget;

namespace kavri {

// Every skinned control derives from this beside its widget class. A container pushing a style down
// calls these on its direct children; each class decides what it takes (a class that matches several
// rules calls its base's hook and adds its own), so the routines below need no list of classes.
class TSkinStyleHooks {
 public:
  virtual ~TSkinStyleHooks() = default;
  // What ContainerApplyUIStyle does to this control.
  virtual void ApplyContainerStyle(TSkinUIStyle style) { (void)style; }
  // What SubContainerApplyUIStyle does: nesting containers (group box, tab control, tab sheet, image
  // panel) run their UpdateUIStyle, which restyles their own children.
  virtual void ApplySubContainerStyle(TSkinUIStyle style) { (void)style; }
};

// The themed form panel implements this; the first direct child of a window that does decides the
// window's default style.
class TSkinFormStyleSource {
 public:
  virtual ~TSkinFormStyleSource() = default;
  virtual TSkinUIStyle FormUIStyle() const = 0;
  virtual TColor FormColor() const = 0;
};

// The window a control created with this parent belongs to (null without a parent).
QWidget* OwnerForm(QWidget* parent);

TSkinUIStyle GetSkinFormStyle(const QWidget* form);  // Navy without a themed form panel
TColor GetSkinFormColor(const QWidget* form);        // clBtnFace without one
TColor GetBorderColor(const QWidget* form);          // element 8 of its style; 0 without one or for Custom

void ContainerApplyUIStyle(QWidget* container, TSkinUIStyle style);
void SubContainerApplyUIStyle(QWidget* container, TSkinUIStyle style);

}  // namespace kavri
