#include "page.h"

#include <emscripten.h>

#include <cstdlib>

// Strings cross as a pointer and a length in bytes of UTF-8; the JavaScript below reads them
// with UTF8ToString(pointer, length). It is written for the minifier of the toolchain, which
// takes no syntax newer than ES2017.

// clang-format off
EM_JS(void, js_scale_window, (double scale), {
    document.documentElement.style.setProperty('--unit', scale + 'px');
});

EM_JS(int, js_coarse_pointer, (), {
    return matchMedia('(pointer: coarse)').matches ? 1 : 0;
});

EM_JS(void, js_viewport, (double* out), {
    HEAPF64[out >> 3] = document.documentElement.clientWidth;
    HEAPF64[(out >> 3) + 1] = document.documentElement.clientHeight;
});

EM_JS(void, js_on_click, (const char* name, int nameLength, int command), {
    document.getElementById(UTF8ToString(name, nameLength)).addEventListener('click', function () {
        // One command at a time: none starts while another waits on its message, or after the
        // program has ended.
        if (Module.velandraEnded || Asyncify.currData) return;
        _velandra_command(command);
    });
});

EM_JS(void, js_cycle_focus, (), {
    // Tab past the last element of the form comes back to the first, and Shift+Tab before the
    // first to the last, as in the window of the desktop editions.
    var client = document.getElementById('Client');
    client.addEventListener('keydown', function (event) {
        if (event.key != 'Tab' || event.altKey || event.ctrlKey || event.metaKey) return;
        var focusable = Array.prototype.filter.call(
            client.querySelectorAll('input, button'), function (element) { return !element.disabled; });
        var first = focusable[0];
        var last = focusable[focusable.length - 1];
        var wrapTo = event.shiftKey ? (event.target == first ? last : null)
                                    : (event.target == last ? first : null);
        if (wrapTo) {
            event.preventDefault();
            wrapTo.focus();
            if (wrapTo.select) wrapTo.select();
        }
    });
});

EM_JS(void, js_watch_display, (), {
    function restyle() {
        if (!Module.velandraEnded) _velandra_restyle();
    }
    ['(forced-colors: active)', '(prefers-color-scheme: dark)', '(prefers-contrast: more)',
     '(pointer: coarse)']
        .forEach(function (query) { matchMedia(query).addEventListener('change', restyle); });
    // A turned or resized screen changes the room the window may fill.
    window.addEventListener('resize', restyle);
    // The browser's zoom changes the device pixel ratio.
    (function watchRatio() {
        matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)').addEventListener(
            'change', function () { restyle(); watchRatio(); }, {once: true});
    })();
    // Once the served faces are read, the texts are fitted with the fonts the browser really
    // uses. Faces read while the program started need no wait for document.fonts.ready, which
    // settles a frame later.
    performance.mark('velandra-form');
    var loading = false;
    document.fonts.forEach(function (face) { loading = loading || face.status == 'loading'; });
    (loading ? document.fonts.ready : Promise.resolve()).then(function () {
        performance.mark('velandra-fonts');
        if (!Module.velandraEnded) _velandra_fit_texts();
        performance.mark('velandra-ready');
        document.documentElement.setAttribute('data-velandra', 'ready');
    });
});

EM_JS(void, js_set_font_size, (const char* name, int nameLength, double points), {
    var style = document.getElementById(UTF8ToString(name, nameLength)).style;
    if (points > 0) {
        style.fontSize = points + 'pt';
    } else {
        style.removeProperty('font-size');
    }
});

EM_JS(void, js_follow_highlights, (), {
    velandraHighlights();
});

EM_JS(void, js_focus_box_on_caption_click, (const char* box, int boxLength, const char* caption,
                                             int captionLength), {
    var element = document.getElementById(UTF8ToString(box, boxLength));
    document.getElementById(UTF8ToString(caption, captionLength))
        .addEventListener('click', function () { element.focus(); });
});

EM_JS(int, js_forced_colours, (), {
    return matchMedia('(forced-colors: active)').matches ? 1 : 0;
});

EM_JS(double, js_device_pixel_ratio, (), {
    return window.devicePixelRatio || 1;
});

EM_JS(void, js_measure_text, (const char* name, int nameLength, double points, double* out), {
    var element = document.getElementById(UTF8ToString(name, nameLength));
    var style = getComputedStyle(element);
    if (!Module.velandraMeasure) Module.velandraMeasure = document.createElement('canvas');
    var context = Module.velandraMeasure.getContext('2d');
    context.font = style.fontStyle + ' ' + style.fontWeight + ' ' + points + 'pt ' +
                   style.fontFamily;
    var metrics = context.measureText(element.textContent);
    var left = parseFloat(style.paddingLeft);
    var top = parseFloat(style.paddingTop);
    var right = element.clientWidth - parseFloat(style.paddingRight);
    var bottom = element.clientHeight - parseFloat(style.paddingBottom);
    var start = style.textAlign == 'center' ? left + (right - left - metrics.width) / 2 : left;
    // The line box is centred in the area; the baseline lies the font's ascent below its top.
    var lineHeight = metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent;
    var baseline = top + (bottom - top - lineHeight) / 2 + metrics.fontBoundingBoxAscent;
    var values = [start - metrics.actualBoundingBoxLeft, baseline - metrics.actualBoundingBoxAscent,
                  start + metrics.actualBoundingBoxRight, baseline + metrics.actualBoundingBoxDescent,
                  left, top, right, bottom];
    for (var i = 0; i < values.length; ++i) HEAPF64[(out >> 3) + i] = values[i];
});

EM_JS(void, js_clear_lines, (int width, int height, double ratio), {
    var canvas = document.getElementById('Lines');
    // The lines' colour, read before anything here is written; resizing the canvas resets its
    // context.
    var colour = getComputedStyle(canvas).color;
    var first = document.getElementById('FirstLines');
    if (first) first.remove();
    canvas.width = Math.round(width * ratio);
    canvas.height = Math.round(height * ratio);
    canvas.style.width = width + 'px';
    canvas.style.height = height + 'px';
    canvas.getContext('2d').strokeStyle = colour;
});

EM_JS(void, js_draw_line, (int x1, int y1, int x2, int y2, int width, double offset), {
    var canvas = document.getElementById('Lines');
    var context = canvas.getContext('2d');
    context.lineWidth = width;
    context.lineCap = 'square';
    context.beginPath();
    context.moveTo(x1 + offset, y1 + offset);
    context.lineTo(x2 + offset, y2 + offset);
    context.stroke();
});

EM_JS(char*, js_text, (const char* box, int boxLength), {
    var value = document.getElementById(UTF8ToString(box, boxLength)).value;
    // A lone surrogate has no UTF-8: it becomes U+FFFD, as in the other editions.
    if (value.toWellFormed) value = value.toWellFormed();
    var size = lengthBytesUTF8(value) + 1;
    var copy = _malloc(size);
    stringToUTF8(value, copy, size);
    return copy;
});

EM_JS(void, js_set_text, (const char* box, int boxLength, const char* text, int textLength), {
    var element = document.getElementById(UTF8ToString(box, boxLength));
    element.value = UTF8ToString(text, textLength);
    // A result wider than its box shows its leading digits.
    element.scrollLeft = 0;
});

EM_JS(void, js_announce, (const char* message, int length), {
    // Every other announcement ends in a no-break space, which is not spoken: a screen reader
    // takes a region's text equal to the last it read for the same news again, and drops it.
    // Emptied first, and an empty message leaves it empty, so that nothing is read again later.
    var announcer = document.getElementById('Announcer');
    announcer.textContent = "";
    var text = UTF8ToString(message, length);
    if (!text) return;
    if (Module.velandraMarked) text += '\u00A0';
    Module.velandraMarked = !Module.velandraMarked;
    setTimeout(function () { announcer.textContent = text; }, 50);
});

EM_ASYNC_JS(void, js_show_message, (const char* prompt, int promptLength, const char* title,
                                    int titleLength), {
    // The message covers the page and keeps the focus, as a modal window does, but is opened as
    // a plain dialog: a modal one takes the page out of the accessibility tree while it is open,
    // and a screen reader whose last object vanished that way says neither the message's title
    // and text nor, afterwards, where the focus went back to.
    var returnTo = document.activeElement;
    var dialog = document.getElementById('MessageTemplate').content.firstElementChild.cloneNode(true);
    dialog.querySelector('#MessageTitle').textContent = UTF8ToString(title, titleLength);
    dialog.querySelector('#MessageText').textContent = UTF8ToString(prompt, promptLength);
    var ok = dialog.querySelector('#MessageOk');
    function keepFocus(event) {
        if (!dialog.contains(event.target)) ok.focus();
    }
    await new Promise(function (dismissed) {
        ok.addEventListener('click', dismissed);
        // Enter, Space and Escape dismiss it wherever its focus is; Tab stays on OK, and a
        // click beside OK or on the page around it keeps the focus there, as on a message box.
        dialog.addEventListener('keydown', function (event) {
            var onOk = event.target == ok;
            if (event.key == 'Tab') {
                event.preventDefault();
            } else if (event.key == 'Escape' ||
                       (!onOk && (event.key == 'Enter' || event.key == ' '))) {
                event.preventDefault();
                dismissed();
            }
        });
        dialog.addEventListener('mousedown', function (event) {
            if (event.target != ok) event.preventDefault();
        });
        document.addEventListener('focusin', keepFocus);
        document.body.appendChild(dialog);
        dialog.show();
        ok.focus();
    });
    document.removeEventListener('focusin', keepFocus);
    // The focus goes back in the same task as the message goes, never through the dialog's own
    // close, whose event comes a task later: in between the focus would fall on the page, and a
    // screen reader then does not say where it went back to.
    if (returnTo && returnTo.isConnected) returnTo.focus();
    dialog.remove();
});

EM_JS(void, js_close, (const char* note, int length), {
    Module.velandraEnded = true;
    var app = matchMedia('(display-mode: standalone), (display-mode: minimal-ui)').matches;
    if (app) window.close();
    var frame = document.getElementById('Quarnelo');
    var closed = document.createElement('p');
    closed.id = 'Closed';
    closed.textContent = UTF8ToString(note, length);
    frame.replaceChildren(closed);
    // Said as well as shown: the focus had nowhere left to go.
    document.getElementById('Announcer').textContent = closed.textContent;
});
// clang-format on

namespace velandra::web::page {
namespace {

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

}  // namespace

void ScaleWindow(double scale) {
    js_scale_window(scale);
}

bool CoarsePointer() {
    return js_coarse_pointer() != 0;
}

Viewport CurrentViewport() {
    double values[2] = {};
    js_viewport(values);
    return {values[0], values[1]};
}

void OnClick(std::string_view name, int command) {
    js_on_click(name.data(), Length(name), command);
}

void CycleFocus() {
    js_cycle_focus();
}

void WatchDisplay() {
    js_watch_display();
}

void SetFontSize(std::string_view name, double points) {
    js_set_font_size(name.data(), Length(name), points);
}

void ClearFontSize(std::string_view name) {
    js_set_font_size(name.data(), Length(name), 0);
}

void FollowHighlights() {
    js_follow_highlights();
}

void FocusBoxOnCaptionClick(std::string_view box, std::string_view caption) {
    js_focus_box_on_caption_click(box.data(), Length(box), caption.data(), Length(caption));
}

bool ForcedColours() {
    return js_forced_colours() != 0;
}

double DevicePixelRatio() {
    return js_device_pixel_ratio();
}

TextMeasure MeasureText(std::string_view name, double points) {
    double values[8] = {};
    js_measure_text(name.data(), Length(name), points, values);
    return {{values[0], values[1], values[2], values[3]},
            {values[4], values[5], values[6], values[7]}};
}

void ClearLines(int width, int height, double devicePixelRatio) {
    js_clear_lines(width, height, devicePixelRatio);
}

void DrawLine(const ui::Segment& line, int width) {
    js_draw_line(line.x1, line.y1, line.x2, line.y2, width, ui::LineOffset(width));
}

std::string Text(std::string_view box) {
    char* copy = js_text(box.data(), Length(box));
    std::string text(copy);
    std::free(copy);
    return text;
}

void SetText(std::string_view box, std::string_view text) {
    js_set_text(box.data(), Length(box), text.data(), Length(text));
}

void Announce(std::string_view message) {
    js_announce(message.data(), Length(message));
}

void ShowMessage(std::string_view prompt, std::string_view title) {
    js_show_message(prompt.data(), Length(prompt), title.data(), Length(title));
}

void Close(std::string_view closedNote) {
    js_close(closedNote.data(), Length(closedNote));
}

}  // namespace velandra::web::page
