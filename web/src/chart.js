// The chart beside a report, drawn with Chart.js from the server's chart data.
import { Chart, BarController, BarElement, CategoryScale, LinearScale, Legend, Tooltip, Title } from 'chart.js';
import { el, clear } from './dom.js';

Chart.register(BarController, BarElement, CategoryScale, LinearScale, Legend, Tooltip, Title);

const palette = ['#4e79a7', '#f28e2b', '#e15759', '#76b7b2', '#59a14f', '#edc948', '#b07aa1', '#ff9da7'];
let charts = [];

export function renderCharts(host, data) {
  charts.forEach((c) => c.destroy());
  charts = [];
  clear(host);
  if (!data) return;
  host.append(el('h3', {}, data.title));
  data.charts.forEach((part, i) => {
    const canvas = el('canvas', { id: `chart-${i}`, 'data-chart': part.title });
    host.append(el('div', { className: 'chart-box' }, canvas));
    charts.push(new Chart(canvas, {
      type: 'bar',
      data: {
        labels: part.labels,
        datasets: part.series.map((s, k) => ({ label: s.name, data: s.data, backgroundColor: palette[k % palette.length] })),
      },
      options: {
        animation: false,
        responsive: true,
        maintainAspectRatio: false,
        plugins: { title: { display: true, text: part.title } },
        scales: { x: { stacked: part.stacked }, y: { stacked: part.stacked } },
      },
    }));
  });
}
