// The surface's own namespace in its isolated script world. C++ reaches every
// function here through orv.bridge.invoke(path, args); the page's own scripts
// cannot see it.
'use strict';

window.orv = {
    // Every DOM change the surface makes runs between these two hooks; the
    // undo history replaces them with its own.
    hooks: {
        beforeChange(label) {},
        afterChange(label) {},
    },

    bridge: {
        // Calls orv.<path>(...args); the answer is a JSON text
        // {ok: true, value} or {ok: false, error}.
        invoke(path, args) {
            try {
                let owner = null;
                let target = orv;
                for (const part of path.split('.')) {
                    owner = target;
                    target = target == null ? undefined : target[part];
                }
                if (typeof target !== 'function')
                    throw new Error('orv.' + path + ' is not a function');
                const value = target.apply(owner, args);
                return JSON.stringify({ok: true, value: value === undefined ? null : value});
            } catch (e) {
                return JSON.stringify({ok: false, error: String((e && e.stack) || e)});
            }
        },
    },

    // Runs fn as one change of the document made by the surface itself.
    change(label, fn) {
        orv.hooks.beforeChange(label);
        try {
            return fn();
        } finally {
            orv.hooks.afterChange(label);
            orv.doc.touch();
        }
    },

    // Tells the C++ side that the selection or the content changed, once
    // for all the changes of one task (the console carries the message).
    pushPending: false,
    displayChanged() {
        if (orv.pushPending)
            return;
        orv.pushPending = true;
        Promise.resolve().then(() => {
            orv.pushPending = false;
            console.info('orvane:display-changed');
        });
    },
};

document.addEventListener('selectionchange', () => orv.displayChanged());
