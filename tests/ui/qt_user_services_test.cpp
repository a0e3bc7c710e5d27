// The parts of the Qt user services that need no user: filters and yields.
#include "ui/qt_user_services.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

TEST(QtUserServicesTest, DialogFiltersAndDefaultSuffix) {
  EXPECT_EQ(ui::QtNameFilters("Simulation File (*.sim)|*.sim"), "Simulation File (*.sim)");
  EXPECT_EQ(ui::QtNameFilters("All Files|*.*"), "All Files (*)");
  EXPECT_EQ(ui::QtNameFilters("Symbol File (*.smb)|*.smb|Text|*.txt;*.csv"), "Symbol File (*.smb);;Text (*.txt *.csv)");
  EXPECT_EQ(ui::QtNameFilters(""), "All Files (*)");
  EXPECT_EQ(ui::DefaultSuffix("Simulation File (*.sim)|*.sim"), "sim");
  EXPECT_EQ(ui::DefaultSuffix("All Files|*.*"), "");
}

TEST(QtUserServicesTest, YieldingProcessesPendingEvents) {
  ui::QtUserServices services;
  int delivered = 0;
  QTimer::singleShot(0, [&] { ++delivered; });
  services.DoEvents();
  EXPECT_EQ(delivered, 1);
}
