// The pages of the maker's site shown inside the main window: each loads
// afresh whenever it is shown.
#include "app/MainWindow.h"
#include "ui/EmbeddedPages.h"

namespace torvik::app {

void MainWindow::NavigateHomePage() {
    homePage_.Navigate(EmbeddedPageAddress(EmbeddedPage::Home, build_));
}

} // namespace torvik::app
