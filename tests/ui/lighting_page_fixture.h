#pragma once
// A device picture and its lighting page, wired as the window wires them.

#include <memory>

#include "ui/page_fixture.h"

namespace quobel::test {

template <class Picture, class Page>
struct LightingPageFixture {
    TestPageHost host;
    std::unique_ptr<Picture> picture;
    std::unique_ptr<Page> page;

    explicit LightingPageFixture(bool apply_now = true) {
        host.config.gVar.bApplyNow = apply_now ? 1 : 0;
        picture = std::make_unique<Picture>(host, &host.window);
        page = std::make_unique<Page>(host, &host.window);
        picture->move(300, 20);
        page->move(20, 20);
        page->SetMarkPage(picture.get());
        host.window.resize(900, 500);
        host.window.show();
        page->RefreshFromProfile();
    }
};

}  // namespace quobel::test
