// The public medicines database at its real size (16,000 specialities, 21,000 boxes, about
// 10 MB): an import, the copy's first reading, a box looked up, a name completed, and the
// memory the copy takes. Each beside its floor, the same work done the plainest way.
#include "StockGenerator.h"
#include "core/files/DurableFile.h"
#include "core/medicines/MedicinesCopy.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QSaveFile>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSpecialities = 16000;
constexpr int kPacks = 21000;

QString cip13(int n)
{
    return QStringLiteral("34009%1").arg(n, 8, 10, QLatin1Char('0'));
}

// A release in a folder of its own, written as France publishes it (Windows-1252 and CR LF
// for the specialities, UTF-8 and LF for the boxes), the same every run.
class Release
{
public:
    Release()
    {
        static const char16_t *const words[] = {u"DOLI", u"PRANE", u"AMOXI", u"CILLINE", u"VENTO", u"LINE",
                                                u"SPAS", u"FON",   u"BÉTA",  u"DINE",    u"ÉPHÉ",  u"DRINE"};
        static const char16_t *const forms[] = {u"comprimé", u"gélule", u"solution injectable",
                                                u"poudre pour suspension buvable", u"crème"};
        QRandomGenerator random(20261207);
        QString specialities, packs;
        for (int i = 0; i < kSpecialities; ++i) {
            QString name;
            for (int w = 0; w < 2 + int(random.bounded(3)); ++w)
                name += QString::fromUtf16(words[random.bounded(12)]);
            const QString form = QString::fromUtf16(forms[random.bounded(5)]);
            m_names << name;
            specialities +=
                QStringLiteral("%1\t%2 %3 mg, %4\t%4\torale;rectale\tAutorisation active\tProcédure "
                               "nationale\tCommercialisée\t01/01/2000\t\t\t LABORATOIRE %5 "
                               "FRANCE\tNon\r\n")
                    .arg(60000000 + i)
                    .arg(name)
                    .arg(random.bounded(1000))
                    .arg(form)
                    .arg(i % 300);
        }
        for (int i = 0; i < kPacks; ++i)
            packs +=
                QStringLiteral("%1\t%2\tplaquette(s) thermoformée(s) PVC aluminium de %3 comprimé(s)\t"
                               "Présentation active\tDéclaration de commercialisation\t16/03/2011\t%4\toui\t"
                               "65%\t1,16\t2,18\t1,02\t<a "
                               "href='https://www.has-sante.fr/jcms/c_1234567/fr/"
                               "avis-de-la-commission-de-la-transparence-du-medicament'>Avis de la "
                               "Commission de la transparence</a>\n")
                    .arg(60000000 + i % kSpecialities)
                    .arg(3000000 + i)
                    .arg(8 + i % 90)
                    .arg(cip13(i));
        write("CIS_bdpm.txt", specialities.toLatin1()); // Windows-1252 for these characters
        write("CIS_CIP_bdpm.txt", packs.toUtf8());
    }
    QString folder() const { return m_folder.path(); }
    const QStringList &names() const { return m_names; }
    qint64 bytes() const { return m_bytes; }

private:
    void write(const char *name, const QByteArray &bytes)
    {
        QFile file(m_folder.filePath(QLatin1String(name)));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        m_bytes += bytes.size();
    }
    QTemporaryDir m_folder;
    qint64 m_bytes = 0;
    QStringList m_names;
};

const Release &release()
{
    static const Release shared;
    return shared;
}

// The program directory the copy is written to and read from.
GeneratedStock &programDirectory()
{
    static GeneratedStock directory(1);
    return directory;
}

void BM_import(benchmark::State &state)
{
    programDirectory();
    for (auto _ : state) {
        QString error;
        if (!MedicinesCopy::importFolder(release().folder(), &error))
            state.SkipWithError(qPrintable(error));
    }
    state.counters["MB"] = double(release().bytes()) / 1e6;
}

// The floor: the same files read, decoded, cut into lines and fields, and as many bytes
// written and synced under the copy's name.
void BM_importFloor(benchmark::State &state)
{
    for (auto _ : state) {
        QByteArray out;
        for (const char *name : {"CIS_bdpm.txt", "CIS_CIP_bdpm.txt"}) {
            QFile file(QDir(release().folder()).filePath(QLatin1String(name)));
            file.open(QIODevice::ReadOnly);
            const QString text = QString::fromUtf8(file.readAll());
            for (const QString &line : text.split(u'\n'))
                benchmark::DoNotOptimize(line.split(u'\t'));
            out += text.toUtf8();
        }
        QSaveFile copy(QDir(programDirectory().path()).filePath(QStringLiteral("floor.txt")));
        copy.open(QIODevice::WriteOnly);
        copy.write(out);
        copy.commit();
    }
}

// The copy read as at its first use after a start.
void BM_loadCopy(benchmark::State &state)
{
    programDirectory();
    QString error;
    MedicinesCopy::importFolder(release().folder(), &error);
    const QString path = QDir(programDirectory().path()).filePath(MedicinesCopy::kFileName);
    for (auto _ : state)
        benchmark::DoNotOptimize(MedicinesDatabase::load(path, &error));
}

const MedicinesDatabase &loaded()
{
    static const MedicinesDatabase database = [] {
        QString error;
        return *MedicinesDatabase::readFolder(release().folder(), &error);
    }();
    return database;
}

void BM_lookup(benchmark::State &state)
{
    const MedicinesDatabase &database = loaded();
    int n = 0;
    for (auto _ : state) {
        const QString gtin = u'0' + cip13(n++ % kPacks);
        benchmark::DoNotOptimize(database.speciality(database.pack(gtin)->cis));
    }
}

// The floor: the same two hash lookups, the box's speciality, then the speciality.
void BM_lookupFloor(benchmark::State &state)
{
    QHash<QString, QString> codes;
    QHash<QString, int> specialities;
    for (int i = 0; i < kPacks; ++i)
        codes.insert(cip13(i), QString::number(60000000 + i % kSpecialities));
    for (int i = 0; i < kSpecialities; ++i)
        specialities.insert(QString::number(60000000 + i), i);
    int n = 0;
    for (auto _ : state) {
        const QString gtin = u'0' + cip13(n++ % kPacks);
        benchmark::DoNotOptimize(specialities.value(codes.value(gtin.mid(1))));
    }
}

// A key typed in the name box: the names that hold the text, at most 50.
void BM_completion(benchmark::State &state)
{
    const MedicinesDatabase &database = loaded();
    for (auto _ : state)
        benchmark::DoNotOptimize(database.completions(u"ephe", 50));
}

// The floor: every name searched for the text, case aside, accents not.
void BM_completionFloor(benchmark::State &state)
{
    const QStringList &names = release().names();
    for (auto _ : state) {
        QStringList found;
        for (const QString &name : std::as_const(names)) {
            if (name.contains(u"éphé", Qt::CaseInsensitive) && found.size() < 50)
                found << name;
        }
        benchmark::DoNotOptimize(found);
    }
}

// The memory the copy takes once read: the process's resident size before and after.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    return statm.readAll().split(' ').value(1).toLongLong() * 4096;
}

void BM_memory(benchmark::State &state)
{
    programDirectory();
    QString error;
    MedicinesCopy::importFolder(release().folder(), &error);
    const QString path = QDir(programDirectory().path()).filePath(MedicinesCopy::kFileName);
    double grown = 0;
    for (auto _ : state) {
        const qint64 before = residentBytes();
        auto database = MedicinesDatabase::load(path, &error);
        grown = double(residentBytes() - before) / 1e6;
        benchmark::DoNotOptimize(database);
    }
    state.counters["MB"] = grown;
}

} // namespace

BENCHMARK(BM_memory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_import)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_importFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_loadCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_lookup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_lookupFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_completion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_completionFloor)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
