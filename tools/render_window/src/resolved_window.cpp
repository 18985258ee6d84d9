// resolved_window_picture: MainWindow after a Baidu Pan link of the share-service simulator
// was resolved, drawn on the offscreen platform and saved as a PNG.
//
//   resolved_window_picture <out.png>
#include <QApplication>
#include <QPixmap>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "app/testing/program_window.h"
#include "testsupport/simulator.h"
#include "ui/application.h"
#include "ui/fonts.h"

namespace {

constexpr const char* kShare = "9dRtz4Mb";  // 第二集.mp4

int Fail(const std::string& message) {
  std::cerr << "resolved_window_picture: " << message << "\n";
  return 1;
}


int Draw(const char* out) {
  testsupport::Simulator simulator(testsupport::SimulatorOptions{"", true});
  setenv("PANLIFT_CONNECT_TO", simulator.ConnectTo().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ui::EnsureApplication();
  if (!ui::UseCjkFont()) {
    std::cerr << "resolved_window_picture: no CJK font found (install fonts-wqy-microhei); Chinese shows as boxes\n";
  }
  panlift_test::StartProgramOnce();
  panlift_test::MainWindowWidgets window = panlift_test::FindMainWindow();
  if (!window.resolve) return Fail("MainWindow did not show");

  const std::string link = simulator.Share(kShare).link;
  panlift_test::Click(window.radio[1]);
  panlift_test::TypeInto(window.link[1], link);
  panlift_test::Click(window.resolve);
  window.resolve->setFocus();
  for (int i = 0; i < 10; ++i) ui::HandleWaitingEvents();
  if (window.address->text().isEmpty()) return Fail(link + " resolved to no address");

  QPixmap picture = window.form->grab();
  if (!picture.save(QString::fromLocal8Bit(out), "PNG")) return Fail(std::string("cannot write ") + out);
  std::cout << out << ": " << picture.width() << "x" << picture.height() << ", " << link << " resolved\n";
  panlift_test::CloseMainWindow();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Fail("usage: resolved_window_picture <out.png>");
  try {
    return Draw(argv[1]);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
