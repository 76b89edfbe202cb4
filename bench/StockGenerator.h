#pragma once

#include "core/platform/ProgramDirectory.h"

#include <QStringList>
#include <QTemporaryDir>

// A program directory holding a stock file of `count` plausible medicines, the same
// every run.
class GeneratedStock final : public ProgramDirectory
{
public:
    explicit GeneratedStock(int count);
    ~GeneratedStock() override;
    QString path() const override { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

QStringList generatedLines(int count);
