// Loaded into the launcher as one of the toolkit's generic plugins (QT_QPA_GENERIC_PLUGINS), so
// that a test can read the scenery list of the launcher as packaged, under the offscreen platform
// where no screen reader can: it prints the list's rows once it has any, one a line, and ends
// the launcher with 0.

#include <QApplication>
#include <QGenericPlugin>
#include <QListWidget>
#include <QTimer>

#include <cstdio>

class ListProbe : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "ListProbe.json")
public:
    QObject* create(const QString&, const QString&) override {
        auto* poll = new QTimer;
        connect(poll, &QTimer::timeout, poll, [] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                for (const QListWidget* list : window->findChildren<QListWidget*>()) {
                    if (list->accessibleName() != QStringLiteral("Pliki tras") ||
                        list->count() == 0)
                        continue;
                    for (int row = 0; row < list->count(); ++row)
                        std::printf("%s\n", list->item(row)->text().toUtf8().constData());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                    return;
                }
            }
        });
        poll->start(100);
        return poll;
    }
};

#include "ListProbe.moc"
