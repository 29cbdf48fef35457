// The surface's own namespace in its isolated script world. C++ reaches every
// function here through orv.bridge.invoke(path, args); the page's own scripts
// cannot see it.
'use strict';

window.orv = {
    // The attributes the surface itself puts on the page's elements (element
    // ids, server stand-in marks, its own base and style), never the page's.
    ownAttribute: (name) => name === 'orv' || name === 'data-orv-srv' || name === 'data-orv-served',

    // Every DOM change the surface makes runs between these two hooks; the
    // undo history replaces them with its own.
    hooks: {
        beforeChange(label) {},
        afterChange(label) {},
    },

    bridge: {
        // Calls orv.<path>(...args); the answer is a JSON text
        // {ok: true, value} or {ok: false, error}, with the state after the
        // call (orv.state.snapshot) when withState is set.
        invoke(path, args, withState) {
            let answer;
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
                answer = {ok: true, value: value === undefined ? null : value};
            } catch (e) {
                answer = {ok: false, error: String((e && e.stack) || e)};
            }
            if (withState)
                answer.state = orv.state.snapshot();
            return JSON.stringify(answer);
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

    // Pushes the new state to the C++ side once the selection or the
    // content changed, once for all the changes of one task.
    pushPending: false,
    displayChanged() {
        if (orv.pushPending)
            return;
        orv.pushPending = true;
        Promise.resolve().then(() => {
            orv.pushPending = false;
            orv.state.push();
        });
    },
};

document.addEventListener('selectionchange', () => orv.displayChanged());
