// The web edition's entry points: main builds the page, the page calls the rest.
#include <emscripten.h>

#include "quarnelo.h"

namespace {

velandra::web::Quarnelo* form = nullptr;

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void velandra_command(int index) {
    form->Command(index);
}

EMSCRIPTEN_KEEPALIVE void velandra_fit_texts() {
    form->FitTexts();
}

EMSCRIPTEN_KEEPALIVE void velandra_restyle() {
    form->Restyle();
}

}  // extern "C"

int main() {
    // Lives as long as the page: the runtime is kept alive after main returns.
    static velandra::web::Quarnelo quarnelo;
    form = &quarnelo;
    return 0;
}
