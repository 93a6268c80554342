#pragma once
// The screen the GUI tests run on: Qt's offscreen platform with a screen of a chosen
// size, 1920 x 1080 unless IMAGESCAN_TEST_SCREEN names another (a file of
// support/screens). Called before the application is made.
#include <QByteArray>
#include <QtGlobal>

inline void UseOffscreenScreen() {
  QByteArray screen = qgetenv("IMAGESCAN_TEST_SCREEN");
  if (screen.isEmpty()) screen = "1920x1080";
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" IMAGESCAN_SCREENS "/" + screen + ".json");
}
