#pragma once
// The control types the shell's windows are built from, in one place so that each can move to its
// skinned control as that control becomes available.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace kavri {

using ShellButton = QPushButton;
using ShellCheckBox = QCheckBox;
using ShellComboBox = QComboBox;
using ShellTrackBar = QSlider;
using ShellEdit = QLineEdit;

}  // namespace kavri
