#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

// The pages of the controls demo. Each page file registers itself with a
// static DemoPageRegistration, so that adding a page touches no other file.
// A page's self-test runs once its page is shown; it returns false (after
// printing why) when what it shows is wrong.
namespace DemoPages {

struct Page
{
    QString title;
    std::function<QWidget*(QWidget* parent)> make;
    std::function<bool(QWidget* page)> selfTest; // may be empty
};

std::vector<Page>& All();

struct Registration
{
    explicit Registration(Page page) { All().push_back(std::move(page)); }
};

} // namespace DemoPages
