// Prints a numbered table on the default printer through QtPrinterPort, for print_cups.sh.
// Usage: lm_print_table <title> <rows>. Writes "default: <name>"; exit 1 with the reason on failure.

#include <cstdio>

#include <QApplication>

#include "desktop/QtPrinterPort.h"
#include "support/TextTableModel.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: lm_print_table <title> <rows>\n");
        return 2;
    }
    const int rows = args.at(2).toInt();
    const TextTableModel table(TextTableModel::numberedHeaders(5), TextTableModel::numberedRows(rows, 5));
    QtPrinterPort port;
    std::printf("default: %s\n", qPrintable(port.defaultPrinterName()));
    QString error;
    if (!port.printTable({args.at(1), &table}, &error)) {
        std::fprintf(stderr, "print failed: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
