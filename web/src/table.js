// The result table: the two-row header, frozen header rows and label columns, numbers right-
// aligned as the server formats them, subtotal rows that fold their group, drill-down on a click.
import { el, clear } from './dom.js';

function header(result) {
  const top = el('tr', { className: 'head-top' });
  const bottom = el('tr', { className: 'head-bottom' });
  for (const span of result.header) {
    const frozen = span.first < result.frozenColumns;
    if (span.bothRows) {
      top.append(el('th', { rowspan: 2, 'data-column': span.first, className: frozen ? 'frozen' : null }, span.caption));
      continue;
    }
    top.append(el('th', { colspan: span.count, className: 'group' }, span.caption));
    for (let c = span.first; c < span.first + span.count; c++)
      bottom.append(el('th', { 'data-column': c, className: c < result.frozenColumns ? 'frozen' : null },
        result.columns[c].caption));
  }
  return el('thead', {}, top, bottom);
}

// Hides or shows the rows of the group a subtotal row closes, and of the groups inside it.
function fold(tbody, row, folded) {
  row.classList.toggle('folded', folded);
  row.querySelector('.fold').textContent = folded ? '▸' : '▾';
  const first = Number(row.dataset.groupStart);
  const last = Number(row.dataset.row);
  for (const other of tbody.querySelectorAll('tr[data-row]')) {
    const n = Number(other.dataset.row);
    if (n < first || n >= last) continue;
    const hiddenBy = new Set((other.dataset.hiddenBy || '').split(' ').filter(Boolean));
    if (folded) hiddenBy.add(row.dataset.row);
    else hiddenBy.delete(row.dataset.row);
    other.dataset.hiddenBy = [...hiddenBy].join(' ');
    other.hidden = hiddenBy.size > 0;
  }
}

function rowNode(result, row, onDrill) {
  const tr = el('tr', { 'data-row': row.row, 'data-kind': row.kind, className: row.kind,
    'data-group-start': row.groupStart });
  row.cells.forEach((text, c) => {
    const numeric = result.columns[c].numeric;
    const classes = [numeric ? 'num' : null, c < result.frozenColumns ? 'frozen' : null].filter(Boolean).join(' ');
    tr.append(el('td', { className: classes || null, 'data-column': c }, text));
  });
  if (row.groupStart) {
    const toggle = el('button', { type: 'button', className: 'fold', title: '折叠/展开' }, '▾');
    tr.firstChild.prepend(toggle);
  }
  if (row.detail && result.drillable) {
    tr.classList.add('drillable');
    tr.addEventListener('click', () => onDrill(row.row));
  }
  return tr;
}

// Sets each frozen column's left offset from the widths of the columns before it.
function freeze(table, result) {
  let left = 0;
  const firstRow = table.querySelector('tbody tr') ?? table.querySelector('thead tr');
  for (let c = 0; c < result.frozenColumns; c++) {
    for (const cell of table.querySelectorAll(`[data-column="${c}"].frozen`)) cell.style.left = `${left}px`;
    const sample = firstRow?.querySelector(`[data-column="${c}"]`) ?? table.querySelector(`th[data-column="${c}"]`);
    left += sample ? sample.getBoundingClientRect().width : 0;
  }
}

export function renderTable(host, result, onDrill) {
  clear(host);
  const tbody = el('tbody', {}, result.rows.map((row) => rowNode(result, row, onDrill)));
  tbody.addEventListener('click', (e) => {
    const toggle = e.target.closest('.fold');
    if (!toggle) return;
    e.stopPropagation();
    const row = toggle.closest('tr');
    fold(tbody, row, !row.classList.contains('folded'));
  });
  const table = el('table', { id: 'result', className: 'result' }, header(result), tbody);
  host.append(el('div', { className: 'titles' },
    el('h2', {}, result.name), result.titles.map((t) => el('div', { className: 'title-line' }, t))),
    el('div', { className: 'scroller' }, table));
  freeze(table, result);
}
