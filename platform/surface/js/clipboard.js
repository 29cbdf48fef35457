// What the browser's own copy, cut and drag put on the clipboard: the same
// as the Copy and Cut commands, so that the page's element ids and server
// block stand-ins never reach another program (see orv.fidelity.forClipboard).
'use strict';

(() => {
    // A field's selected text is the browser's to copy: it holds no markup.
    const inField = () => {
        const a = document.activeElement;
        return !!a && (a.localName === 'input' || a.localName === 'textarea');
    };

    // Copy and cut by the browser (keys, its menu) run the commands instead
    // and hand over their HTML and text; where a command refuses (nothing
    // selected, nothing to edit) the browser goes on as it would.
    for (const name of ['copy', 'cut']) {
        window.addEventListener(name, (e) => {
            if (!e.clipboardData || inField())
                return;
            const r = orv.cmd.exec(name);
            if (!r.ok)
                return;
            e.clipboardData.setData('text/html', r.value.html);
            e.clipboardData.setData('text/plain', r.value.text);
            e.preventDefault();
        }, true);
    }

    // A drag carries the browser's HTML of what is dragged, taken out of the
    // page as a copy is; its text stays the browser's.
    window.addEventListener('dragstart', (e) => {
        const data = e.dataTransfer;
        const html = data ? data.getData('text/html') : '';
        if (!html)
            return;
        const t = document.createElement('template');
        t.innerHTML = html;
        orv.fidelity.forClipboard(t.content);
        data.setData('text/html', t.innerHTML);
    }, true);
})();
