#include "core/medicines/MedicinesCopy.h"
#include "core/scan/ProductCodes.h"
#include "gui/medicines/MedicinesWindow.h"
#include "support/Tests.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QLabel>

namespace {

const QString kRelease = QStringLiteral(VELLORIN_TEST_DATA "/bdpm");
// The release's date: when its files were downloaded (here, written).
const QDate kCopyDate = QFileInfo(kRelease + "/CIS_CIP_Dispo_Spec.txt").lastModified().date();
const QString kCopy = "fichiers du " + kCopyDate.toString("dd/MM/yyyy") + ", 12 spécialités et 12 boîtes";

// A copy of the release in a folder of its own, each edit replacing a text in a file
// ("file|old|new") or removing it ("file|").
QString releaseWith(const TestSeams &seams, const QStringList &edits)
{
    const QString folder = seams.directory.file("release");
    QDir().mkpath(folder);
    for (const QString &name : QDir(kRelease).entryList(QDir::Files))
        QFile::copy(kRelease + "/" + name, folder + "/" + name);
    for (const QString &edit : edits) {
        const QStringList parts = edit.split(u'|');
        const QString path = folder + "/" + parts.at(0);
        if (parts.size() == 2)
            QFile::remove(path);
        else
            writeFile(path, readFile(path).replace(parts.at(1).toUtf8(), parts.at(2).toUtf8()));
    }
    return folder;
}

// clang-format off
const Case<QStringList, QString> kRefusals[] = {
    {"no specialities", {"CIS_bdpm.txt|"}, "Le dossier choisi ne contient pas le fichier CIS_bdpm.txt."},
    {"a field missing", {"CIS_bdpm.txt|01/01/1980\t\t\t IPSEN|01/01/1980\t\t IPSEN"}, "Le fichier CIS_bdpm.txt n'a pas la forme attendue à la ligne 9 : 11 champs au lieu de 12."},
    {"a letter in a product code", {"CIS_CIP_bdpm.txt|3400930000038|34009300000A8"}, "Le fichier CIS_CIP_bdpm.txt n'a pas la forme attendue à la ligne 3 : « 34009300000A8 » n'est pas un code de 13 chiffres."},
    {"a product code cut", {"CIS_CIP_bdpm.txt|3400930000038|340093000003"}, "Le fichier CIS_CIP_bdpm.txt n'a pas la forme attendue à la ligne 3 : « 340093000003 » n'est pas un code de 13 chiffres."},
};

// The name typed, and the first three specialities offered, the names' starts first.
const Case<QString, QStringList> kCompletions[] = {
    {"starts", "dol", {"DOLIPRANE 1000 mg", "DOLIPRANE 500 mg"}},
    {"starts first, then the rest", "a", {"AMOXICILLINE BIOGARAN 1 g", "ADRÉNALINE RENAUDIN 1 mg/1 mL", "DOLIPRANE 1000 mg"}},
    {"accents and case aside", "epineph", {"L’ÉPINÉPHRINE D’URGENCE 0"}},
    {"inside a name, accents aside", "drenal", {"ADRÉNALINE RENAUDIN 1 mg/1 mL"}},
    {"nothing", "zzz", {}},
};

// A row of the list window, and its sheet: found by the box code saved for it, else by its name.
const Case<QString, QString> kSheets[] = {
    {"by a saved box", "Doliprane", "DOLIPRANE 1000 mg, comprimé\r\nForme : comprimé\r\nVoies d'administration : orale\r\n"
     "Titulaire : OPELLA HEALTHCARE FRANCE\r\nConditions de prescription : aucune\r\nDisponibilité : Rupture de stock\r\n"
     "Boîte : plaquette(s) thermoformée(s) PVC aluminium de 8 comprimé(s)"},
    {"by its name", "Adrénaline Renaudin 1 mg/1 mL", "ADRÉNALINE RENAUDIN 1 mg/1 mL, solution injectable\r\nForme : solution injectable\r\n"
     "Voies d'administration : intramusculaire, intraveineuse, sous-cutanée\r\nTitulaire : RENAUDIN\r\n"
     "Conditions de prescription : aucune\r\nDisponibilité : aucun signalement"},
    {"unknown", "Aspirine", "Inconnu de la base : « Aspirine »."},
};
// clang-format on

} // namespace

// The public medicines database as downloaded, then as the program keeps it.
class TestMedicines : public QObject
{
    Q_OBJECT

private slots:
    void readsARelease();
    void refusals_data() { addRows(kRefusals); }
    void refusals();
    void completions_data() { addRows(kCompletions); }
    void completions();
    void importsFromItsWindow();
    void namesCompleted();
    void sheets_data() { addRows(kSheets); }
    void sheets();
};

void TestMedicines::readsARelease()
{
    QString error;
    const auto read = MedicinesDatabase::readFolder(kRelease, &error);
    QVERIFY2(read, qPrintable(error));
    TestSeams seams;
    seams.directory.write("copie", read->serialized());
    const auto db = MedicinesDatabase::load(seams.directory.file("copie"), &error);
    QVERIFY2(db, qPrintable(error));
    QCOMPARE(db->specialityCount() * 100 + db->packCount(), 1212);
    const Pack *box = db->pack(u"03400930000014");
    QVERIFY(box && db->pack(u"3400930000014") == box);
    const Speciality *doliprane = db->speciality(box->cis);
    QCOMPARE((QStringList{doliprane->name, doliprane->holder, doliprane->availability}),
             (QStringList{"DOLIPRANE 1000 mg, comprimé", "OPELLA HEALTHCARE FRANCE",
                          "Tension d'approvisionnement"}));
    QCOMPARE(db->pack(u"03400930000052")->availability, "Rupture de stock");
    QCOMPARE(db->byName(u"l’epinephrine d’urgence 0")->routes, "intramusculaire");
    QCOMPARE(stockName(db->speciality("65000001")->name, 40), "MÉTHYLPREDNISOLONE EXEMPLE LABORATOIRE");
}

void TestMedicines::refusals()
{
    const auto &c = rowOf(kRefusals);
    TestSeams seams;
    QString error;
    QVERIFY(!MedicinesDatabase::readFolder(releaseWith(seams, c.in), &error));
    QCOMPARE(error, c.out);
}

void TestMedicines::completions()
{
    QString error;
    const auto db = MedicinesDatabase::readFolder(kRelease, &error);
    QStringList offered;
    for (const Speciality *s : db->completions(rowOf(kCompletions).in, 3))
        offered << stockName(s->name, 40);
    QCOMPARE(offered, rowOf(kCompletions).out);
}

// A broken release, a good one, a broken one again: the copy in use changes only with the good
// one, and nothing else of the program's directory changes.
void TestMedicines::importsFromItsWindow()
{
    StockFixture fx({medicine("Aspirine")});
    const QStringList before = QDir(fx.seams.directory.path()).entryList(QDir::Files);
    MedicinesWindow window;
    window.show();
    const QString broken =
        releaseWith(fx.seams, {"CIS_bdpm.txt|01/01/1980\t\t\t IPSEN|01/01/1980\t\t IPSEN"});
    QByteArray copy;
    for (const QString &folder : {broken, kRelease, broken}) {
        whenModalOpens([&](QWidget *dialog) {
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(folder);
            qobject_cast<QDialog *>(dialog)->accept();
        });
        QTest::mouseClick(window.findChild<QPushButton *>("import"), Qt::LeftButton);
        if (folder == kRelease)
            copy = fx.seams.directory.read(MedicinesCopy::kFileName);
    }
    const QString fault =
        "L'import n'a pas eu lieu : Le fichier CIS_bdpm.txt n'a pas la forme attendue à la ligne 9 : "
        "11 champs au lieu de 12.\r\n\r\n";
    QCOMPARE((QStringList{fx.seams.messages.shown().at(0).text, fx.seams.messages.shown().at(1).text,
                          fx.seams.messages.shown().at(2).text, window.findChild<QLabel *>("copy")->text()}),
             (QStringList{fault + "Aucune copie n'est en service.",
                          "La base des médicaments est importée : " + kCopy + ".",
                          fault + "La copie en service reste celle des " + kCopy + ".",
                          "Copie en service : " + kCopy + "."}));
    QCOMPARE(fx.seams.directory.read(MedicinesCopy::kFileName), copy);
    QCOMPARE(QDir(fx.seams.directory.path()).entryList(QDir::Files),
             QStringList{MedicinesCopy::kFileName} + before);
}

// In "Ajout" the name box offers the database's names from the third letter; Escape closes
// the list only; a pick fills the medicine.
void TestMedicines::namesCompleted()
{
    StockFixture fx({medicine("Aspirine")});
    QString error;
    QVERIFY2(MedicinesCopy::importFolder(kRelease, &error), qPrintable(error));
    QStringList offered, after;
    QVERIFY(fx.runEditor("add", [&](MedicineEditor *editor) {
        QLineEdit *name = field(editor, "name");
        press(name, {"do"});
        QVERIFY(!QApplication::activePopupWidget());
        press(name, {"l"});
        QTRY_VERIFY(QApplication::activePopupWidget());
        const auto *names = qobject_cast<QAbstractItemView *>(QApplication::activePopupWidget());
        offered << names->model()->index(1, 0).data().toString();
        press(name, {"Escape"});
        QTRY_VERIFY(!QApplication::activePopupWidget() && editor->isVisible());
        press(name, {"i", "Down", "Enter"});
        QTRY_COMPARE(QApplication::focusWidget(), field(editor, "quantity"));
        after << name->text() << field<QComboBox>(editor, "route")->currentText()
              << field<QComboBox>(editor, "presentation")->currentText();
    }));
    QCOMPARE(offered, QStringList{"DOLIPRANE 500 mg, gélule"}); // the whole names, the form told apart
    QCOMPARE(after, (QStringList{"DOLIPRANE 1000 mg", "Orale", "Comprimé"}));
}

void TestMedicines::sheets()
{
    const auto &c = rowOf(kSheets);
    StockFixture fx({medicine("Adrénaline Renaudin 1 mg/1 mL"), medicine("Aspirine"), medicine("Doliprane")});
    QString error;
    QVERIFY(rememberMedicine("03400930000014", {"Doliprane", "Orale", "Comprimé", ""}, &error));
    QVERIFY2(MedicinesCopy::importFolder(kRelease, &error), qPrintable(error));
    fx.chooseRow(c.in);
    fx.form->findChild<QAction *>("medicineSheet")->trigger();
    QCOMPARE(fx.seams.messages.last().text,
             c.out + "\r\n\r\nBase des médicaments : fichiers du " + kCopyDate.toString("dd/MM/yyyy") + ".");
}

VELLORIN_TEST(TestMedicines)
#include "tst_medicines.moc"
