// Finding a window's widget (or action) by its object name, as the tests
// of the windows do.
#pragma once

#include <gtest/gtest.h>

#include <QObject>

// The child of window named name; fails the test when there is none.
template <class T>
T* Child(const QObject& window, const char* name) {
  T* child = window.findChild<T*>(name);
  if (child == nullptr) ADD_FAILURE() << "no object named " << name;
  return child;
}
