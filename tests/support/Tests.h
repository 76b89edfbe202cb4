#pragma once

// What every test file of the program uses: the seams, the list window fixture, the table
// helpers, and the Qt classes the tests drive.
#include "StockFixture.h"
#include "TestMain.h"
#include "TestSeams.h"
#include "core/store/StockFile.h"
#include "gui/platform/ReportListView.h"
#include "gui/shell/Application.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
