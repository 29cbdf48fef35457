// Absolute positioning and stacking order. The element a command acts on is
// the element selected as an object (an image, a table, a form control, a
// DIV or SPAN), else the nearest DIV or SPAN around the caret; the stacking
// commands take the nearest absolutely positioned element instead.
(function () {
  'use strict';
  const cmd = orv.cmd;

  const OBJECTS = /^(DIV|SPAN|IMG|TABLE|INPUT|SELECT|TEXTAREA|BUTTON)$/;

  function isAbsolute(el) {
    return window.getComputedStyle(el).position === 'absolute';
  }

  function nearest(node, test) {
    for (let el = cmd.elementOf(node); el && el !== document.body; el = el.parentElement) {
      if (test(el)) return el;
    }
    return null;
  }

  function positionable() {
    const r = cmd.editableRange();
    if (!r) return null;
    const chosen = cmd.selectedElement(r);
    if (chosen && OBJECTS.test(chosen.tagName)) return chosen;
    return nearest(r.startContainer, el => /^(DIV|SPAN)$/.test(el.tagName) || isAbsolute(el));
  }

  function positioned() {
    const r = cmd.editableRange();
    if (!r) return null;
    const chosen = cmd.selectedElement(r);
    if (chosen && isAbsolute(chosen)) return chosen;
    return nearest(r.startContainer, isAbsolute);
  }

  function zOf(el) {
    const z = parseInt(window.getComputedStyle(el).zIndex, 10);
    return Number.isNaN(z) ? 0 : z;
  }

  function stackedZ() {
    const out = [];
    for (const el of document.body.querySelectorAll('*')) if (isAbsolute(el)) out.push(zOf(el));
    return out;
  }

  // Toggles absolute positioning; the element keeps its place on screen.
  function makeAbsolute(el) {
    if (isAbsolute(el)) {
      el.style.removeProperty('left');
      el.style.removeProperty('top');
      el.style.removeProperty('z-index');
      if (el.style.position === 'absolute') el.style.removeProperty('position');
      if (isAbsolute(el)) el.style.position = 'static';
      if (!el.getAttribute('style')) el.removeAttribute('style');
      return;
    }
    const was = el.getBoundingClientRect();
    el.style.position = 'absolute';
    el.style.left = '0px';
    el.style.top = '0px';
    const origin = el.getBoundingClientRect();
    el.style.left = Math.round(was.left - origin.left) + 'px';
    el.style.top = Math.round(was.top - origin.top) + 'px';
  }

  cmd.define('makeAbsolute', {
    exec() {
      cmd.needEditable();
      const el = positionable();
      if (!el) cmd.refuse('nothing to position');
      return cmd.edit('Absolute Position', () => makeAbsolute(el));
    },
    status() {
      const el = positionable();
      if (!el) return cmd.DISABLED;
      return isAbsolute(el) ? cmd.LATCHED : cmd.ENABLED;
    },
  });

  // Each rule gives the new z-index from the element's and the others' z,
  // or null when the element is already where the command would put it.
  const ORDER = {
    bringForward: ['Bring Forward', z => z + 1],
    sendBackward: ['Send Backward', z => z - 1],
    bringToFront: ['Bring to Front', (z, all) => Math.max(z, ...all) + 1],
    sendToBack: ['Send to Back', (z, all) => Math.min(z, ...all) - 1],
    bringAboveText: ['Bring Above Text', (z, all) => (z >= 0 ? null : Math.max(0, ...all) + 1)],
    sendBelowText: ['Send Below Text', (z, all) => (z < 0 ? null : Math.min(0, ...all) - 1)],
  };

  for (const name of Object.keys(ORDER)) {
    const [label, rule] = ORDER[name];
    const next = el => rule(zOf(el), stackedZ());
    cmd.define(name, {
      exec() {
        cmd.needEditable();
        const el = positioned();
        if (!el) cmd.refuse('not positioned');
        const z = next(el);
        if (z === null) cmd.refuse('already there');
        return cmd.edit(label, () => { el.style.zIndex = String(z); });
      },
      status() {
        const el = positioned();
        return el && next(el) !== null ? cmd.ENABLED : cmd.DISABLED;
      },
    });
  }
})();
