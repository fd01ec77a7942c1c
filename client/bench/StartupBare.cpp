// The bare reference for startup-bench: one window of the given size holding
// one web view per page, the first shown, the others hidden behind it, as the
// client's body holds its pages. Prints "store page loaded" when the first
// view has loaded. startup-bare WIDTH HEIGHT URL...

#include <QApplication>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: startup-bare WIDTH HEIGHT URL...\n");
        return 2;
    }
    QWidget window;
    window.resize(arguments.at(1).toInt(), arguments.at(2).toInt());
    for (int i = 3; i < arguments.size(); ++i) {
        auto *view = new QWebEngineView(&window);
        view->setGeometry(0, 0, window.width(), window.height());
        if (i == 3) {
            QObject::connect(view, &QWebEngineView::loadFinished, [](bool ok) {
                std::printf("store page loaded: %s\n", ok ? "ok" : "failed");
                std::fflush(stdout);
            });
        } else {
            view->hide();
        }
        view->load(QUrl(arguments.at(i)));
    }
    window.show();
    return app.exec();
}
