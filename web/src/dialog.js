// Draws any form the server publishes (the filter dialogs, the code lookup, the journal list,
// message boxes) from its controls alone, and sends what the user does back as events.
import { post } from './api.js';
import { el, clear } from './dom.js';

const controlId = (c) => `${c.name}:${c.index}`;

function input(control, send, previous) {
  const target = { control: control.name, index: control.index };
  const disabled = !control.enabled;
  const id = controlId(control);
  switch (control.kind) {
    case 'TextBox':
      return el('input', { type: 'text', value: control.value, disabled, 'data-control': id, title: 'F7 查找',
        onchange: (e) => send({ ...target, set: e.target.value }),
        onkeydown: (e) => {
          if (e.key !== 'F7') return;
          e.preventDefault();
          send({ ...target, set: e.target.value }).then(() => send({ ...target, lookup: true }));
        } });
    case 'ComboBox': {
      const select = el('select', { disabled, 'data-control': id,
        onchange: (e) => send({ ...target, set: Number(e.target.value) }) },
        control.value < 0 ? el('option', { value: -1, selected: true }, '') : null,
        control.items.map((text, i) => el('option', { value: i, selected: i === control.value }, text)));
      return select;
    }
    case 'CheckBox':
      return el('label', { className: 'check' },
        el('input', { type: 'checkbox', checked: control.value === 1, disabled, 'data-control': id,
          onchange: () => send({ ...target, click: true }) }), control.caption);
    case 'DatePicker':
      return el('input', { type: 'text', className: 'date', value: control.value, disabled, 'data-control': id,
        placeholder: 'YYYY-MM-DD', onchange: (e) => send({ ...target, set: e.target.value }) });
    case 'UpDown':
      return el('span', { className: 'updown' },
        el('button', { type: 'button', disabled, 'data-step': `${id}:-1`, onclick: () => send({ ...target, step: -1 }) }, '−'),
        el('button', { type: 'button', disabled, 'data-step': `${id}:1`, onclick: () => send({ ...target, step: 1 }) }, '+'));
    case 'CommandButton':
      // A "..." button right after a text box is that box's code lookup, as F7 in the terminal.
      if (control.caption === '...' && previous?.kind === 'TextBox')
        return el('button', { type: 'button', className: 'lookup', disabled, 'data-control': id, 'data-lookup': controlId(previous),
          onclick: () => send({ control: previous.name, index: previous.index, lookup: true }) }, '…');
      return el('button', { type: 'button', disabled, 'data-control': id, onclick: () => send({ ...target, click: true }) },
        control.caption);
    case 'Label':
      return el('span', { className: control.inline ? 'label inline' : 'label' }, control.caption);
    case 'ProgressBar':
      return el('progress', { max: 1, value: control.value });
    default:
      return null;
  }
}

// Rows of controls, grouped in their frames, in display order.
function body(form, send) {
  const root = el('div', { className: 'form-body' });
  const frames = new Map();
  let row = null;
  let rowParent = null;
  let previous = null;
  for (const c of form.controls) {
    if (!c.visible) continue;
    if (c.kind === 'Frame') {
      const box = el('fieldset', { className: 'frame', 'data-frame': controlId(c) }, el('legend', {}, c.caption));
      frames.set(c.index >= 0 ? `${c.name}(${c.index})` : c.name, box);
      (c.frame && frames.get(c.frame) ? frames.get(c.frame) : root).append(box);
      row = null;
      continue;
    }
    const parent = c.frame && frames.get(c.frame) ? frames.get(c.frame) : root;
    if (c.row || !row || rowParent !== parent) {
      row = el('div', { className: 'form-row' });
      rowParent = parent;
      parent.append(row);
    }
    const node = input(c, send, previous);
    if (node) row.append(node);
    previous = c;
  }
  return root;
}

function gridActions(form, send) {
  const name = el('input', { type: 'text', className: 'scheme-name', placeholder: '方案名称' });
  const choice = el('select', { className: 'scheme-list' },
    form.grid.schemes.map((s) => el('option', { value: s, selected: s === form.grid.current }, s)));
  const action = (grid, scheme) => send({ grid, scheme });
  return el('div', { className: 'grid-actions' },
    el('span', { className: 'schemes' }, '方案：', choice,
      el('button', { type: 'button', 'data-action': 'load', onclick: () => action('load', choice.value) }, '读取'),
      el('button', { type: 'button', 'data-action': 'delete', onclick: () => action('delete', choice.value) }, '删除'),
      name,
      el('button', { type: 'button', 'data-action': 'save', onclick: () => action('save', name.value) }, '保存')),
    el('button', { type: 'button', 'data-action': 'reset', onclick: () => action('reset') }, '重置'),
    el('button', { type: 'button', 'data-action': 'ok', className: 'primary', onclick: () => action('ok') }, '确定'),
    el('button', { type: 'button', 'data-action': 'cancel', onclick: () => action('cancel') }, '取消'));
}

function journal(list, send) {
  const search = el('input', { type: 'text', className: 'list-search', value: list.search, placeholder: '单据号',
    onchange: (e) => send({ list: 'search', text: e.target.value }) });
  const table = el('table', { className: 'journal' },
    el('thead', {}, el('tr', {}, list.columns.map((c) => el('th', {}, c.caption)))),
    el('tbody', {}, list.rows.map((cells, i) => el('tr', {
      'data-list-row': list.first + i, className: list.first + i === list.current ? 'current' : null,
      ondblclick: () => send({ list: 'pick', row: list.first + i }),
    }, cells.map((text, c) => el('td', { className: list.columns[c]?.numeric ? 'num' : null }, text))))));
  const pageSize = 20;
  return el('div', { className: 'journal-box' },
    el('div', { className: 'form-row' }, '查找：', search),
    table,
    el('div', { className: 'form-row' },
      el('button', { type: 'button', 'data-list': 'prev', disabled: list.first === 0,
        onclick: () => send({ list: 'page', first: Math.max(0, list.first - pageSize) }) }, '上一页'),
      el('span', { className: 'list-place' }, `${list.first + 1}-${list.first + list.rows.length} / ${list.rowCount}${list.more ? '+' : ''}`),
      el('button', { type: 'button', 'data-list': 'next', disabled: !list.more && list.first + pageSize >= list.rowCount,
        onclick: () => send({ list: 'page', first: list.first + pageSize }) }, '下一页'),
      el('button', { type: 'button', 'data-list': 'exit', onclick: () => send({ list: 'exit' }) }, '退出')));
}

// Draws `state` into `host`; `changed` hears each new state the server answers with.
export function renderForms(host, state, changed) {
  clear(host);
  const send = async (event) => {
    try {
      changed(await post('/api/dialog/event', event));
    } catch (error) {
      changed({ ...state, notice: error.message });
    }
  };
  state.forms.forEach((form, depth) => {
    const inner = depth === state.forms.length - 1;
    const box = el('div', { className: `form ${inner ? 'active' : 'covered'}`, 'data-form': form.name },
      el('div', { className: 'form-title' }, form.caption || form.name,
        el('button', { type: 'button', className: 'close', title: '关闭', onclick: () => send({ close: true }) }, '×')),
      body(form, send),
      form.list ? journal(form.list, send) : null,
      form.grid ? gridActions(form, send) : null);
    if (!inner) box.inert = true;
    host.append(box);
  });
  if (state.notice) host.append(el('div', { className: 'notice', role: 'alert' }, state.notice));
  if (state.message) {
    const m = state.message;
    host.append(el('div', { className: 'msgbox', role: 'dialog' },
      el('div', { className: 'form-title' }, m.title),
      el('p', { className: 'msgbox-text' }, m.text),
      el('div', {}, m.buttons.map((b) => el('button', { type: 'button', 'data-answer': b.answer,
        onclick: () => send({ answer: b.answer }) }, b.caption)))));
  }
}
