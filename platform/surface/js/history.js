// The surface's one undo history. Every change to the document is recorded as
// the DOM mutations it caused: our commands (through orv.history.run), the
// surface's own changes (through orv.hooks) and the user's typing (bursts of
// beforeinput, coalesced by kind and by a pause between keys). Undo re-applies
// the mutations backwards, so the very same nodes come back, with their
// marks (orv.ownAttribute), instead of a re-parsed copy of the page; the fidelity
// layer's change record is saved with each step and put back with it, so
// undoing every edit gives back the page's own text.
(function () {
  'use strict';

  const TYPING_PAUSE_MS = 1000;   // a longer pause between keys starts a new step
  const MAX_STEPS = 200;

  const INSERT_KINDS = new Set(['insertText', 'insertCompositionText', 'insertReplacementText',
                                'insertParagraph', 'insertLineBreak']);
  const DELETE_KINDS = new Set(['deleteContentBackward', 'deleteContentForward',
                                'deleteWordBackward', 'deleteWordForward',
                                'deleteSoftLineBackward', 'deleteSoftLineForward',
                                'deleteHardLineBackward', 'deleteHardLineForward']);

  let undoStack = [];
  let redoStack = [];
  let open = null;      // the step being recorded: {label, records, selBefore, selAfter, fidBefore, fidAfter}
  let typing = null;    // {kind, last} while `open` is a burst of typing
  let single = null;    // label of a browser edit (paste by keys, drop...) awaiting its input event
  let replaying = false;

  function saveSelection() {
    const s = window.getSelection();
    if (!s || !s.rangeCount) return null;
    return { an: s.anchorNode, ao: s.anchorOffset, fn: s.focusNode, fo: s.focusOffset };
  }

  function nodeLength(n) {
    return n.nodeType === Node.ELEMENT_NODE ? n.childNodes.length : (n.length || 0);
  }

  function restoreSelection(saved) {
    if (!saved || !saved.an || !saved.fn || !saved.an.isConnected || !saved.fn.isConnected) return;
    const s = window.getSelection();
    try {
      s.setBaseAndExtent(saved.an, Math.min(saved.ao, nodeLength(saved.an)),
                         saved.fn, Math.min(saved.fo, nodeLength(saved.fn)));
    } catch (e) { /* a node that can hold no caret: leave the selection alone */ }
  }

  function fidelityState() {
    return orv.fidelity && orv.fidelity.state ? orv.fidelity.state() : null;
  }

  function restoreFidelity(saved) {
    if (saved && orv.fidelity && orv.fidelity.restore) orv.fidelity.restore(saved);
  }

  function plain(r) {
    if (r.type === 'attributes') {
      return { type: r.type, target: r.target, name: r.attributeName, ns: r.attributeNamespace,
               old: r.oldValue, neu: null };
    }
    if (r.type === 'characterData') return { type: r.type, target: r.target, old: r.oldValue, neu: null };
    return { type: r.type, target: r.target, added: Array.from(r.addedNodes),
             removed: Array.from(r.removedNodes), next: r.nextSibling };
  }

  function keep(r) {
    return !(r.type === 'attributes' && orv.ownAttribute(r.attributeName));  // neither undone nor redone
  }

  // Records that arrive outside any step are folded into the latest step (so
  // undo still leaves a consistent page); before the first step they are the
  // page as loaded.
  function absorb(records) {
    if (replaying) return;
    const kept = records.filter(keep).map(plain);
    if (!kept.length) return;
    if (open) { open.records.push(...kept); return; }
    if (undoStack.length) {
      const top = undoStack[undoStack.length - 1];
      top.records.push(...kept);
      top.fidAfter = fidelityState();
      redoStack = [];
    }
  }

  const observer = new MutationObserver(absorb);
  observer.observe(document, { subtree: true, childList: true, attributes: true,
                               attributeOldValue: true, characterData: true,
                               characterDataOldValue: true });

  function settle() { absorb(observer.takeRecords()); }

  function setAttr(el, r, value) {
    if (value === null) el.removeAttributeNS(r.ns, r.name);
    else el.setAttributeNS(r.ns, r.name, value);
  }

  function place(parent, nodes, next) {
    for (const n of nodes) {
      if (next && next.parentNode === parent) parent.insertBefore(n, next);
      else parent.appendChild(n);
    }
  }

  function unplace(nodes) {
    for (const n of nodes) if (n.parentNode) n.parentNode.removeChild(n);
  }

  function revert(records) {
    for (let i = records.length - 1; i >= 0; --i) {
      const r = records[i];
      if (r.type === 'characterData') {
        r.neu = r.target.data;
        r.target.data = r.old === null ? '' : r.old;
      } else if (r.type === 'attributes') {
        r.neu = r.target.getAttributeNS(r.ns, r.name);
        setAttr(r.target, r, r.old);
      } else {
        unplace(r.added);
        place(r.target, r.removed, r.next);
      }
    }
  }

  // Nodes our code builds or fills while they are out of the page (an
  // extracted range, a wrapper filled before it is placed) change unseen, so
  // the records alone cannot redo them. Undo notes the children of every
  // element the step added, as the step left them, and redo puts them back.
  function shapesOf(records) {
    const shapes = [];
    for (const r of records) {
      if (r.type !== 'childList') continue;
      for (const n of r.added) {
        if (n.nodeType !== Node.ELEMENT_NODE || !n.isConnected) continue;
        shapes.push([n, Array.from(n.childNodes)]);
        for (const e of n.querySelectorAll('*')) shapes.push([e, Array.from(e.childNodes)]);
      }
    }
    return shapes;
  }

  function reshape(shapes) {
    for (const [el, kids] of shapes) {
      const now = el.childNodes;
      if (now.length !== kids.length || kids.some((k, i) => now[i] !== k)) el.replaceChildren(...kids);
    }
  }

  function reapply(records) {
    for (const r of records) {
      if (r.type === 'characterData') r.target.data = r.neu === null ? '' : r.neu;
      else if (r.type === 'attributes') setAttr(r.target, r, r.neu);
      else {
        unplace(r.removed);
        place(r.target, r.added, r.next);
      }
    }
  }

  function replay(fn) {
    settle();
    replaying = true;
    try { fn(); } finally { observer.takeRecords(); replaying = false; }
  }

  function push(step) {
    undoStack.push(step);
    if (undoStack.length > MAX_STEPS) undoStack.shift();
    redoStack = [];
  }

  function close() {
    if (!open) return 0;
    settle();
    const step = open;
    open = null;
    typing = null;
    single = null;
    step.selAfter = saveSelection();
    step.fidAfter = fidelityState();
    if (step.records.length) push(step);
    return step.records.length;
  }

  function begin(label) {
    close();
    open = { label: label, records: [], selBefore: saveSelection(), selAfter: null,
             fidBefore: fidelityState(), fidAfter: null };
  }

  function abort() {
    if (!open) return;
    settle();
    const step = open;
    open = null;
    typing = null;
    replay(() => revert(step.records));
    restoreFidelity(step.fidBefore);
    restoreSelection(step.selBefore);
  }

  const history = {
    // Runs fn as one step. Returns {value, changed}; a throwing fn leaves the
    // page as it was.
    run(label, fn) {
      begin(label);
      let value;
      try { value = fn(); } catch (e) { abort(); throw e; }
      return { value: value, changed: close() > 0 };
    },
    begin: begin,
    end: close,
    // Asking does not end a burst of typing.
    canUndo() { settle(); return undoStack.length > 0 || !!(open && open.records.length); },
    canRedo() { settle(); return redoStack.length > 0 && !(open && open.records.length); },
    undo() {
      close();
      const step = undoStack.pop();
      if (!step) return false;
      step.shapes = shapesOf(step.records);   // the page is as the step left it
      replay(() => revert(step.records));
      restoreFidelity(step.fidBefore);
      redoStack.push(step);
      restoreSelection(step.selBefore);
      return true;
    },
    redo() {
      close();
      const step = redoStack.pop();
      if (!step) return false;
      replay(() => { reapply(step.records); reshape(step.shapes); });
      restoreFidelity(step.fidAfter);
      undoStack.push(step);
      restoreSelection(step.selAfter);
      return true;
    },
    labels() { close(); return { undo: undoStack.map(s => s.label), redo: redoStack.map(s => s.label) }; },
  };
  orv.history = history;

  // The surface brackets its own DOM changes (paste, page colours) with these.
  orv.hooks.beforeChange = function (label) { begin(label || 'Change'); };
  orv.hooks.afterChange = function () { close(); };

  function typingKind(inputType) {
    if (INSERT_KINDS.has(inputType)) return 'insert';
    if (DELETE_KINDS.has(inputType)) return 'delete';
    return null;
  }

  document.addEventListener('beforeinput', function (e) {
    if (e.inputType === 'historyUndo' || e.inputType === 'historyRedo') {
      e.preventDefault();
      if (e.inputType === 'historyUndo') history.undo(); else history.redo();
      return;
    }
    if (open && !typing && !single) return;   // inside one of our own steps
    const kind = typingKind(e.inputType);
    const now = Date.now();
    if (kind && typing && typing.kind === kind && now - typing.last < TYPING_PAUSE_MS) {
      typing.last = now;
      return;
    }
    begin(kind ? 'Typing' : e.inputType);
    if (kind) typing = { kind: kind, last: now };
    else single = e.inputType;
  }, true);

  document.addEventListener('input', function () {
    if (single) close();
    else if (typing) { settle(); open.selAfter = saveSelection(); }
  }, true);

  // Moving the caret ends a burst of typing.
  const MOVES = new Set(['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Home', 'End',
                         'PageUp', 'PageDown']);
  document.addEventListener('keydown', function (e) {
    const mod = e.ctrlKey || e.metaKey;
    const key = (e.key || '').toLowerCase();
    if (mod && !e.altKey && (key === 'z' || key === 'y')) {
      e.preventDefault();
      if (key === 'y' || e.shiftKey) history.redo(); else history.undo();
      return;
    }
    if (typing && MOVES.has(e.key)) close();
  }, true);
  document.addEventListener('mousedown', function () { if (typing) close(); }, true);
})();
