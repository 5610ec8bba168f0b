// The reference for the web edition's start-up: a page whose minimal Emscripten module, built
// with the same toolchain and flags, creates one input and one button, then marks itself ready
// as the Velandra page does.
#include <emscripten.h>

// clang-format off
EM_JS(void, js_build_page, (), {
    var input = document.createElement('input');
    input.setAttribute('aria-label', 'Input');
    var button = document.createElement('button');
    button.type = 'button';
    button.textContent = 'OK';
    document.body.append(input, button);
    input.focus();
    performance.mark('velandra-form');
    performance.mark('velandra-ready');
    document.documentElement.setAttribute('data-velandra', 'ready');
});
// clang-format on

int main() {
    js_build_page();
    return 0;
}
