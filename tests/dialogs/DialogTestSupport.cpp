#include "DialogTestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <algorithm>

namespace {

// Widgets need one QApplication for the whole test program.
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "dialogs_tests";
    static char* argv[] = {name, nullptr};
    m_app = new QApplication(argc, argv);
  }
  void TearDown() override { delete m_app; }

 private:
  QApplication* m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

QStringList LabelTexts(const QWidget& parent) {
  QList<QLabel*> labels = parent.findChildren<QLabel*>();
  std::stable_sort(labels.begin(), labels.end(), [](QLabel* a, QLabel* b) {
    return a->geometry().top() < b->geometry().top();
  });
  QStringList texts;
  for (const QLabel* label : labels) texts << label->text();
  return texts;
}

void ExpectLabelsFit(const QWidget& dialog) {
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    QString text = label->text();
    text.remove(QLatin1Char('&'));
    EXPECT_LE(label->fontMetrics().horizontalAdvance(text),
              label->contentsRect().width())
        << text.toStdString();
    EXPECT_TRUE(dialog.rect().contains(label->geometry()))
        << text.toStdString();
  }
}
